#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The runner in the real program with no display and no Qt platform: --version and --help answer
# on stdout with status 0, and --run prints a trace of a small scenario, the same bytes twice.
# Usage: runner_headless.sh <path to kelpa>
set -euo pipefail

if [ "$#" -lt 1 ]; then
  echo "usage: $0 <kelpa binary>" >&2
  exit 2
fi
kelpa="$(realpath "$1")"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

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
[ ! -e kelpa.ini ] || fail "the runner wrote kelpa.ini"
echo "runner headless: ok"
