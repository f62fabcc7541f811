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
