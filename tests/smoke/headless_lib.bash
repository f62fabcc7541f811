# SPDX-License-Identifier: MIT
# Shared by the smoke tests of the runner: the program named by the first argument, run with no
# display and no Qt platform, in a scratch folder removed at the end.

# Sets $kelpa from the arguments, or ends with the usage.
headless_kelpa() {
  if [ "$#" -lt 1 ]; then
    echo "usage: $0 <kelpa binary>" >&2
    exit 2
  fi
  kelpa="$(realpath "$1")"
  unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
}

# Makes $work, removed at exit, and goes into it.
enter_scratch_folder() {
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  cd "$work"
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
