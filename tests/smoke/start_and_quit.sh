#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the real program under Xvfb in an empty temporary folder, waits for the console after the
# splash, checks that kelpa.ini and the log file were created, creates one process, chooses "Fim"
# from the menu bar with the keyboard, and checks that the program ends by itself with exit code 0
# and that its log ends with the shutdown line.
# Usage: start_and_quit.sh <path to kelpa>
set -euo pipefail

if [ "$#" -lt 1 ]; then
  echo "usage: $0 <kelpa binary>" >&2
  exit 2
fi
kelpa="$(realpath "$1")"

if [ "${2:-}" != "--inside" ]; then
  exec bash "$(dirname "${BASH_SOURCE[0]}")/with_xvfb.bash" 1024x768x24 bash "$0" "$kelpa" --inside
fi

source "$(dirname "${BASH_SOURCE[0]}")/smoke_lib.bash"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

"$kelpa" >kelpa.out 2>&1 &
pid=$!

# The console appears when the five-second splash ends.
wait_for_console

[ -s kelpa.ini ] || fail "kelpa.ini was not created"
grep -q '^PREEMPCAO=1' kelpa.ini || fail "kelpa.ini lacks the default settings"
compgen -G 'log*.txt' >/dev/null || fail "no log file was created"
grep -q 'Kelpa pronto as' log*.txt || fail "the log lacks the ready line"

# One process through "Processo", "Criar" and the creation window's default button, so the
# program is shut down with the simulation busy.
xdotool windowfocus --sync "$console" 2>/dev/null || true
xdotool key --clearmodifiers alt+p
sleep 0.5
xdotool key c
creation=""
for _ in $(seq 1 20); do
  creation="$(xdotool search --onlyvisible --name 'Cria.* de Processo' 2>/dev/null | head -n 1 || true)"
  [ -n "$creation" ] && break
  sleep 0.5
done
[ -n "$creation" ] || fail "the process-creation window did not open"
xdotool windowfocus --sync "$creation" 2>/dev/null || true
xdotool key Return
for _ in $(seq 1 40); do
  grep -q ' criado' log*.txt && break
  sleep 0.5
done
grep -q ' criado' log*.txt || fail "no process was created"

# "Fim" is the last item of the menu bar: open the first menu with its mnemonic, move left (which
# wraps round to "Fim") and choose it, as a user finds it. Tried again if a key was lost.
ended=""
for _ in 1 2 3; do
  xdotool windowfocus --sync "$console" 2>/dev/null || true
  xdotool key --clearmodifiers Escape Escape
  sleep 0.3
  xdotool key --clearmodifiers alt+p
  sleep 0.5
  xdotool key Left
  sleep 0.3
  xdotool key Return
  for _ in $(seq 1 40); do
    if ! kill -0 "$pid" 2>/dev/null; then
      ended=yes
      break
    fi
    sleep 0.5
  done
  [ -n "$ended" ] && break
done
[ -n "$ended" ] || fail "kelpa did not end after Fim"

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

echo "kelpa started, showed the console and ended cleanly with Fim"
