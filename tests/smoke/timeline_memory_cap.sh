#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The whole-run timeline of ten million ticks is drawn within 256 MB: the runner's timeline grows
# with the changes of state, not with the ticks. The cap is on the process's data (RLIMIT_DATA),
# so going over it makes an allocation fail and the run end in error. A sanitizer's build maps
# terabytes of shadow memory and runs many times slower: there the test is skipped (status 77).
# Usage: timeline_memory_cap.sh <path to kelpa>
set -euo pipefail

source "$(dirname "$(realpath "$0")")/headless_lib.bash"
headless_kelpa "$@"
if grep -aq -e __asan_init -e __tsan_init "$kelpa"; then
  echo "timeline memory cap: skipped in a sanitizer's build"
  exit 77
fi
lesson="$(dirname "$(realpath "$0")")/../../examples/scenarios/01-prioridade-e-fatia.ini"
enter_scratch_folder

prlimit --data=$((256 * 1024 * 1024)) -- \
  "$kelpa" --run "$lesson" --ticks 10000000 --timeline run.svg >/dev/null 2>run.err ||
  fail "the run exited with $? under 256 MB: $(cat run.err)"
grep -q '</svg>' run.svg || fail "the picture is not whole"
echo "timeline memory cap: ok"
