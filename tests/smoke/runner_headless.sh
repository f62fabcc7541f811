#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The runner in the real program with no display and no Qt platform: --version and --help (and
# their short forms -V and -h) answer on stdout with status 0, a full standard output is status 3,
# --run prints a trace of a small scenario, the same bytes twice and in every GNU spelling, and
# --pdf writes its document through Qt's offscreen platform, saying nothing on stderr, and so
# does --tarefa for each student: a worksheet with the questions and a key with the answers.
# Usage: runner_headless.sh <path to kelpa>
set -euo pipefail

source "$(dirname "$(realpath "$0")")/headless_lib.bash"
headless_kelpa "$@"
enter_scratch_folder

"$kelpa" --version >version.out 2>version.err || fail "--version exited with $?"
grep -q '^Kelpa [0-9]' version.out || fail "--version printed: $(cat version.out)"
[ ! -s version.err ] || fail "--version wrote to stderr: $(cat version.err)"
"$kelpa" --help >help.out || fail "--help exited with $?"
grep -q -- '--run FILE' help.out || fail "--help does not show --run"

cat >lesson.ini <<'INI'
[CENARIO]
TICKS=50
[GLOBAL]
RELOGIO=10
[PROCESSO 1]
TIPO=CPU
[PROCESSO 2]
TIPO=IO_1
CHEGADA=3
INI
"$kelpa" --run lesson.ini >first.txt 2>run.err || fail "--run exited with $?: $(cat run.err)"
grep -q ' criado$' first.txt || fail "--run printed no creation line"
"$kelpa" --run lesson.ini >second.txt
cmp -s first.txt second.txt || fail "two runs differ"
"$kelpa" --run lesson.ini --output /dev/null --pdf run.pdf 2>pdf.err || fail "--pdf exited with $?"
[ ! -s pdf.err ] || fail "--pdf wrote to stderr: $(cat pdf.err)"
[ "$(head -c 5 run.pdf)" = "%PDF-" ] || fail "--pdf wrote no PDF"

printf 'Ana Souza\nJoão Lima\n' >class.txt
"$kelpa" --tarefa "$(dirname "$(realpath "$0")")/../../examples/scenarios/11-tarefa-sjf.ini" \
  --alunos class.txt --saida homework >homework.out 2>homework.err ||
  fail "--tarefa exited with $?: $(cat homework.err)"
[ ! -s homework.err ] || fail "--tarefa wrote to stderr: $(cat homework.err)"
pdftotext homework/02-joao-lima-folha.pdf sheet.txt
pdftotext homework/02-joao-lima-gabarito.pdf key.txt
for text in 'João Lima' 'Os estados, do tick 0 ao 15' 'Retorno' 'Página 1 de'; do
  grep -q "$text" sheet.txt || fail "the worksheet lacks \"$text\""
done
# The key fills the states the worksheet leaves blank: a state code in each of its 16 rows at least.
asked="$(grep -c -E '^(RUN|RDY)$' sheet.txt || true)"
answered="$(grep -c -E '^(RUN|RDY)$' key.txt || true)"
[ "$answered" -ge $((asked + 16)) ] || fail "the key shows no more states than the worksheet"

# A table of command lines: status, where stdout goes, the arguments; then what stdout or stderr
# must hold.
nowrite="kelpa: não foi possível gravar stdout"
while IFS='|' read -r status target args expected; do
  read -r -a argv <<<"$args"
  set +e
  if [ "$target" = full ]; then
    "$kelpa" "${argv[@]}" >/dev/full 2>case.err
  else
    "$kelpa" "${argv[@]}" >case.out 2>case.err
  fi
  got=$?
  set -e
  [ "$got" = "$status" ] || fail "kelpa $args exited with $got, not $status: $(cat case.err)"
  case "$expected" in
    err:*) grep -qF -- "${expected#err:}" case.err || fail "kelpa $args: stderr $(cat case.err)" ;;
    same:*) cmp -s case.out "${expected#same:}" || fail "kelpa $args: not as ${expected#same:}" ;;
    *) grep -qF -- "$expected" case.out || fail "kelpa $args: stdout $(head -c 300 case.out)" ;;
  esac
done <<TABLE
0|file|-V|Kelpa $("$kelpa" --version | cut -d' ' -f2)
0|file|-h|--run FILE
0|file|-h|man kelpa
3|full|--help|err:$nowrite
3|full|--version|err:$nowrite
3|full|-V|err:$nowrite
3|full|--run lesson.ini|err:$nowrite
0|file|--run=lesson.ini|same:first.txt
0|file|--run lesson.ini --output -|same:first.txt
0|file|--run -- lesson.ini|same:first.txt
2|file|--run lesson.ini --timeline -|err:--output e --timeline são o mesmo arquivo: -
2|file|--run lesson.ini --ticks=5x|err:valor inválido para --ticks: 5x
3|file|--run lesson.ini --pdf none/run.pdf|err:kelpa: não foi possível gravar none/run.pdf
TABLE
"$kelpa" -h >help.out
LC_ALL=C.UTF-8 bash -c 'while IFS= read -r line; do [ "${#line}" -le 80 ] || exit 1; done' \
  <help.out || fail "--help is wider than 80 columns"
[ ! -e - ] || fail "--output - created a file named -"
[ ! -e kelpa.ini ] || fail "the runner wrote kelpa.ini"
ls | grep -q 'tmp' && fail "a temporary file was left: $(ls)"
echo "runner headless: ok"
