#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The runner in the real program, interrupted by SIGTERM, SIGINT and SIGHUP in turn while a long
# run writes --output: it ends with 128 + the signal's number and a message, the file it was
# replacing keeps its old bytes, and no temporary file is left beside it.
# Usage: runner_interrupted.sh <path to kelpa>
set -euo pipefail

source "$(dirname "$(realpath "$0")")/headless_lib.bash"
headless_kelpa "$@"
# Job control, so that the background run does not start with SIGINT ignored.
set -m

work="$(mktemp -d)"
pid=""
trap '[ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL ($signal): $*" >&2
  exit 1
}

# A run far longer than the test: it is always stopped by the signal.
cat >long.ini <<'INI'
[CENARIO]
TICKS=100000000
[GERAR]
PROCESSOS=30
INI

# "nohup": started with hangups ignored, the run stays ignoring them and a later TERM ends it. Of
# two pending signals the lower-numbered is delivered first, so a hangup not ignored would end the
# run with 129 before the TERM could.
for signal in TERM INT HUP nohup; do
  printf 'old answers\n' >answers.csv
  if [ "$signal" = nohup ]; then
    (trap '' HUP && exec "$kelpa" --run long.ini --format csv --output answers.csv 2>run.err) &
  else
    "$kelpa" --run long.ini --format csv --output answers.csv 2>run.err &
  fi
  pid=$!
  # The run has started once its temporary file exists; bounded, in case it never does.
  started=""
  for _ in $(seq 1 600); do
    if compgen -G 'answers.csv.tmp*' >/dev/null; then
      started=yes
      break
    fi
    kill -0 "$pid" 2>/dev/null || fail "the run ended before writing: $(cat run.err)"
    sleep 0.1
  done
  [ -n "$started" ] || fail "no temporary file appeared"
  if [ "$signal" = nohup ]; then
    kill -s HUP "$pid"
    kill -s TERM "$pid"
    expected=$((128 + $(kill -l TERM)))
  else
    kill -s "$signal" "$pid"
    expected=$((128 + $(kill -l "$signal")))
  fi
  status=0
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq "$expected" ] || fail "exit status $status, not $expected: $(cat run.err)"
  grep -q '^kelpa: ' run.err || fail "no message on stderr"
  [ "$(cat answers.csv)" = "old answers" ] || fail "answers.csv changed"
  ! compgen -G 'answers.csv.tmp*' >/dev/null || fail "a temporary file was left"
done
echo "runner interrupted: ok"
