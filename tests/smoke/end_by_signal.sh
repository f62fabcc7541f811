#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the real program under Xvfb once for each of SIGTERM, SIGINT and SIGHUP, each in an empty
# temporary folder, waits until it is ready with one process running, sends it the signal, and
# checks that it ends by itself with exit code 0 and that its log ends with the one shutdown line,
# as after "Fim".
# Usage: end_by_signal.sh <path to kelpa>
set -euo pipefail

if [ "$#" -lt 1 ]; then
  echo "usage: $0 <kelpa binary>" >&2
  exit 2
fi
kelpa="$(realpath "$1")"

if [ "${2:-}" != "--inside" ]; then
  exec bash "$(dirname "${BASH_SOURCE[0]}")/with_xvfb.bash" 1024x768x24 bash "$0" "$kelpa" --inside
fi

# Job control, so that the program does not start with SIGINT ignored, as background jobs of a
# script otherwise do (the program leaves an ignored signal ignored).
set -m

source "$(dirname "${BASH_SOURCE[0]}")/smoke_lib.bash"

work=""
trap 'rm -rf "$work"' EXIT

for signal in TERM INT HUP; do
  label="$signal"
  rm -rf "$work"
  work="$(mktemp -d)"
  cd "$work"
  "$kelpa" >kelpa.out 2>&1 &
  pid=$!

  # Ready once the splash has ended; then one process through "Processo", "Criar" and the
  # creation window's default button, so the signal finds the simulation busy.
  wait_for_console
  xdotool windowfocus --sync "$console" 2>/dev/null || true
  xdotool key --clearmodifiers alt+p
  sleep 0.5
  xdotool key c
  sleep 1
  xdotool key Return
  for _ in $(seq 1 40); do
    grep -q ' criado' log*.txt && break
    sleep 0.5
  done

  kill -s "$signal" "$pid"
  ended=""
  for _ in $(seq 1 60); do
    if ! kill -0 "$pid" 2>/dev/null; then
      ended=yes
      break
    fi
    sleep 0.5
  done
  [ -n "$ended" ] || fail "kelpa did not end after SIG$signal"
  status=0
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "kelpa ended with exit code $status"

  last="$(tr -d '\r' <log*.txt | grep -v '^$' | tail -n 1)"
  case "$last" in
    *"Kelpa desativado as "*) ;;
    *) fail "the log does not end with the shutdown line: $last" ;;
  esac
  [ "$(grep -c 'Kelpa desativado as ' log*.txt)" -eq 1 ] || fail "more than one shutdown line"
  cd /
  echo "SIG$signal: kelpa ended cleanly with its shutdown line"
done
