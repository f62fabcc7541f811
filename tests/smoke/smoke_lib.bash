# SPDX-License-Identifier: MIT
# Shared by the smoke tests: report a failure with the program's output and log, end the program
# if it still runs, and fail. Expects $work (the program's folder) and, when set, $pid and $label.
fail() {
  echo "FAIL${label:+ ($label)}: $*" >&2
  echo "--- program output ---" >&2
  cat "$work/kelpa.out" >&2 || true
  echo "--- log ---" >&2
  cat "$work"/log*.txt >&2 2>/dev/null || true
  if [ -n "${pid:-}" ] && kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid" 2>/dev/null || true
  fi
  exit 1
}

# Waits until the console is on the screen and the ready line is in the log (the log's own thread
# writes it moments after the splash ends), and sets $console to the console's window.
wait_for_console() {
  console=""
  for _ in $(seq 1 180); do
    console="$(xdotool search --onlyvisible --name '^Console Kelpa$' 2>/dev/null | head -n 1 || true)"
    if [ -n "$console" ] && grep -q 'Kelpa pronto as' log*.txt 2>/dev/null; then
      return
    fi
    kill -0 "$pid" 2>/dev/null || fail "kelpa ended before showing the console"
    sleep 0.5
  done
  [ -n "$console" ] || fail "the console did not appear"
  fail "the log lacks the ready line"
}
