#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command on a private Xvfb of its own. The server picks its display number itself and
# tells it through -displayfd, so several of these can start at once: `xvfb-run -a` looks for a
# free number before starting the server, and two runs started together can both take the same
# one, leaving one program with no display.
# Usage: with_xvfb.bash WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENTS...]
set -euo pipefail
screen="$1"
shift

dir="$(mktemp -d)"
# -noreset: an X server resets itself when its last client leaves, and a client that connects
# during the reset is turned away ("could not connect to display"). A test that starts the
# program again right after it ended would meet that reset whenever the machine is slow.
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$dir"' EXIT

# The server writes its number once it accepts clients; it may take a while on a loaded machine.
for _ in $(seq 1 300); do
  [ -s "$dir/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$dir/display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$dir/xvfb.log" >&2
  exit 1
fi
DISPLAY=":$(head -n 1 "$dir/display")"
export DISPLAY
status=0
"$@" || status=$?
# A command that failed shows what the server said, in case it went away under it.
if [ "$status" -ne 0 ]; then
  echo "--- Xvfb on $DISPLAY (pid $xvfb, $(kill -0 "$xvfb" 2>/dev/null && echo running || echo gone)) ---" >&2
  cat "$dir/xvfb.log" >&2
fi
exit "$status"
