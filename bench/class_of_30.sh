#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The homework of a class of 30 through the real program, with its real PDF writer, in an empty
# temporary folder:
#   - `kelpa --tarefa` of the shipped homework lesson for 30 names (a scenario, a worksheet and a
#     key as PDF, the key's csv and the table to fill in per student, and the index);
#   - the students hand in: most their key's table (a diligent student), three with 1, 3 and 6
#     cells wrong, one with a spreadsheet's `;` and the Portuguese state names, one nothing;
#   - `kelpa --corrigir` of the folder.
# Repeats the whole flow and prints the median, p99 and max of each command's wall-clock time,
# then the grades of the last repetition.
# Usage: class_of_30.sh <kelpa binary> [repetitions, default 10]
set -euo pipefail

if [ "$#" -lt 1 ]; then
  echo "usage: $0 <kelpa binary> [repetitions]" >&2
  exit 2
fi
kelpa="$(realpath "$1")"
repetitions="${2:-10}"
lesson="$(dirname "$(realpath "$0")")/../examples/scenarios/11-tarefa-sjf.ini"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

printf '%s\n' "Ana Beatriz Souza" "Bruno Carvalho" "Camila Duarte" "Daniel Esteves" \
  "Eduarda Faria" "Fábio Gomes" "Gabriela Henriques" "Heitor Iglesias" "Isabela Jardim" \
  "João Kleber" "Larissa Lima" "Marcos Nogueira" "Natália Oliveira" "Otávio Pereira" \
  "Paula Queiroz" "Rafael Ribeiro" "Sofia Santos" "Tiago Teixeira" "Úrsula Uchôa" \
  "Vinícius Vieira" "Wagner Xavier" "Yasmin Zanetti" "André Araújo" "Bianca Barros" \
  "Caio César" "Débora Dias" "Enzo Estrela" "Fernanda Fontes" "Gustavo Guimarães" \
  "Helena Hoffmann" >class.txt

# The answers the students hand in, from their keys.
hand_in() {
  local key
  for key in homework/*-gabarito.csv; do
    cp "$key" "${key%-gabarito.csv}-respostas.csv"
  done
  python3 - <<'PY'
import glob
def edit(stem, change):
    path = glob.glob("homework/" + stem + "*-respostas.csv")[0]
    rows = open(path, encoding="utf-8").read().splitlines()
    open(path, "w", encoding="utf-8").write("\n".join(change(rows)) + "\n")
def wrong(count):  # a ready process written as running, count times
    def change(rows):
        done = 0
        for i, row in enumerate(rows[1:], 1):
            cells = row.split(",")
            for j in range(1, len(cells) - 1):
                if cells[j] == "RDY" and done < count:
                    cells[j], done = "RUN", done + 1
            rows[i] = ",".join(cells)
        return rows
    return change
edit("03-", wrong(1))
edit("07-", wrong(3))
edit("12-", wrong(6))
names = {"RDY": "Pronto", "RUN": "Execução"}
edit("25-", lambda rows: [rows[0].replace(",", ";")] +
     [";".join(names.get(c, c) for c in row.split(",")) for row in rows[1:]])
PY
  rm homework/20-*-respostas.csv
}

now() { date +%s%N; }
homework_ms=()
grading_ms=()
for _ in $(seq 1 "$repetitions"); do
  rm -rf homework
  start="$(now)"
  "$kelpa" --tarefa "$lesson" --alunos class.txt --saida homework >/dev/null
  homework_ms+=("$((($(now) - start) / 1000000))")
  hand_in
  start="$(now)"
  "$kelpa" --corrigir homework >grades.csv
  grading_ms+=("$((($(now) - start) / 1000000))")
done

# Median, p99 (nearest rank) and max of the numbers given.
summary() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
    p99 = int(NR * 0.99 + 0.999); if (p99 < 1) p99 = 1
    printf "median %d ms, p99 %d ms, max %d ms (%d runs)\n", v[int((NR + 1) / 2)], v[p99], v[NR], NR }'
}
echo "files --tarefa wrote besides the tables to fill in: $(find homework -type f -not -name "*-respostas.csv" | wc -l)"
echo "kelpa --tarefa, 30 students: $(summary "${homework_ms[@]}")"
echo "kelpa --corrigir, 30 students: $(summary "${grading_ms[@]}")"
echo "grades of the last run, the rows that are not 100 %:"
grep -v ',100,' grades.csv
