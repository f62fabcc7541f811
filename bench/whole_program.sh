#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Measures the real program under Xvfb, in an empty temporary folder:
#   - start-up: from launch to the credits window shown (median of five launches after one that
#     warms the caches);
#   - resident memory once the console is up (start-up over);
#   - processor use with no process, over 30 s;
#   - processor use with 20 live processes and the clock at 100 ms, and resident memory before,
#     half-way through and after that run (10 minutes; --quick: 60 s). Processes run until they
#     are eliminated; any that end meanwhile are replaced through the creation window.
# Prints one "name=value" line per figure on standard output; progress goes to standard error.
# Usage: whole_program.sh <kelpa binary> [--quick]
set -euo pipefail

if [ "$#" -lt 1 ]; then
  echo "usage: $0 <kelpa binary> [--quick]" >&2
  exit 2
fi
kelpa="$(realpath "$1")"
mode="${2:-}"


load_seconds=600
idle_seconds=30
if [ "$mode" = "--quick" ]; then
  load_seconds=60
fi
# For trying the script out.
load_seconds="${KELPA_BENCH_LOAD_SECONDS:-$load_seconds}"
idle_seconds="${KELPA_BENCH_IDLE_SECONDS:-$idle_seconds}"
live_target=20

work="$(mktemp -d)"
pid=""
xvfb=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    sleep 1
    kill -9 "$pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

# A screen of our own: Xvfb picks a free display number and reports it, so runs of other
# programs under Xvfb at the same time never collide with this one.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.out" &
xvfb=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

note() { echo "[whole program] $*" >&2; }
fail() {
  note "FAIL: $*"
  tail -n 20 "$work/kelpa.out" >&2 2>/dev/null || true
  exit 1
}

now() { date +%s.%N; }
# Processor time of the program in nanoseconds: the sum over its threads of the time they ran
# (/proc/<pid>/task/*/schedstat), far finer than the clock ticks of /proc/<pid>/stat. None of the
# program's threads ends while it is measured. awk's "%d" stops at 2^31 - 1 (about two seconds of
# processor time), so the sum is printed as a whole number of another kind.
cpu_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
rss_mb() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status"; }
find_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true; }

wait_for_window() {
  local name="$1" found=""
  for _ in $(seq 1 200); do
    found="$(find_window "$name")"
    [ -n "$found" ] && break
    kill -0 "$pid" 2>/dev/null || fail "kelpa ended while waiting for '$name'"
    sleep 0.1
  done
  [ -n "$found" ] || fail "the window '$name' did not appear"
  echo "$found"
}

stop_program() {
  [ -n "$pid" ] || fail "no program to stop"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
  rm -f "$work"/log*.txt
}

# Start-up: launch to the credits shown, polled as fast as xdotool answers. Sets `startup_time`.
startup_once() {
  local start shown
  start="$(now)"
  "$kelpa" >>kelpa.out 2>&1 &
  pid=$!
  while :; do
    if [ -n "$(find_window '^Cr.*ditos$')" ]; then
      shown="$(now)"
      break
    fi
    kill -0 "$pid" 2>/dev/null || fail "kelpa ended before showing the credits"
    if awk -v s="$start" -v n="$(now)" 'BEGIN { exit !(n - s > 30) }'; then
      fail "the credits did not appear within 30 s"
    fi
  done
  startup_time="$(awk -v s="$start" -v e="$shown" 'BEGIN { printf "%.3f", e - s }')"
}

# One launch to warm the caches, then the median of five.
startup_once
stop_program
times=()
for _ in 1 2 3 4 5; do
  startup_once
  times+=("$startup_time")
  stop_program
done
startup="$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)"
note "start-up to the credits: ${times[*]} s (median $startup)"

# The long run: the console appears when the five-second splash ends.
"$kelpa" >>kelpa.out 2>&1 &
pid=$!
console="$(wait_for_window '^Console Kelpa$')"
gp="$(wait_for_window '^Ger.*ncia do Processador$')"
sleep 2
rss_startup="$(rss_mb)"
note "resident memory after start-up: $rss_startup MB"

idle_start="$(cpu_ns)"
idle_begin="$(now)"
sleep "$idle_seconds"
idle_ns=$(($(cpu_ns) - idle_start))
idle_cpu="$(awk -v t="$idle_ns" -v s="$idle_begin" -v n="$(now)" \
  'BEGIN { printf "%.2f", 100 * t / 1e9 / (n - s) }')"
note "processor use with no process: $idle_cpu % over $idle_seconds s"

# The clock at 100 ms: tbClock (inside GroupBox1 of the processor window's client area) to its
# end. The client area lies under the menu bar, whose height is what the window has beyond 317.
eval "$(xdotool getwindowgeometry --shell "$gp")"
menu=$((HEIGHT - 317))
clock_x=$((X + 1 + 281 + 64))
clock_y=$((Y + menu + 260 + 24 + 13))
xdotool windowfocus --sync "$gp" 2>/dev/null || true
xdotool mousemove --sync "$clock_x" "$clock_y" click 1
sleep 0.3
xdotool key End
sleep 0.3

live_processes() {
  local created ended
  created="$(grep -c ' criado' log*.txt || true)"
  ended="$(grep -c ' eliminado' log*.txt || true)"
  echo $((created - ended))
}

# Creates `count` processes: "Processo", "Criar", SpinEdit3 = count, Button1.
create_processes() {
  local count="$1" creation
  xdotool windowfocus --sync "$console" 2>/dev/null || true
  xdotool key --clearmodifiers Escape alt+p
  sleep 0.4
  xdotool key c
  creation="$(wait_for_window 'Cria.* de Processo')"
  eval "$(xdotool getwindowgeometry --shell "$creation")"
  xdotool windowfocus --sync "$creation" 2>/dev/null || true
  xdotool mousemove --sync $((X + 132 + 28)) $((Y + 147 + 11)) click --repeat 3 1
  xdotool key ctrl+a
  xdotool type --delay 20 "$count"
  xdotool mousemove --sync $((X + 86 + 37)) $((Y + 186 + 12)) click 1
}

create_processes "$live_target"
for _ in $(seq 1 100); do
  [ "$(live_processes)" -ge "$live_target" ] && break
  sleep 0.2
done
note "live processes after the first batch: $(live_processes)"
sleep 5
rss_loaded_start="$(rss_mb)"
load_start_ns="$(cpu_ns)"
load_start="$(now)"
live_samples=0
live_sum=0
rss_half=""
while :; do
  elapsed="$(awk -v s="$load_start" -v n="$(now)" 'BEGIN { printf "%d", n - s }')"
  [ "$elapsed" -ge "$load_seconds" ] && break
  # Half-way: growth after this point would be a leak rather than buffers filling up.
  if [ -z "$rss_half" ] && [ "$elapsed" -ge $((load_seconds / 2)) ]; then
    rss_half="$(rss_mb)"
  fi
  live="$(live_processes)"
  live_samples=$((live_samples + 1))
  live_sum=$((live_sum + live))
  if [ "$live" -lt "$live_target" ]; then
    create_processes $((live_target - live))
  fi
  sleep 5
done
load_ns=$(($(cpu_ns) - load_start_ns))
load_elapsed="$(awk -v s="$load_start" -v n="$(now)" 'BEGIN { printf "%.1f", n - s }')"
busy_cpu="$(awk -v t="$load_ns" -v s="$load_elapsed" 'BEGIN { printf "%.2f", 100 * t / 1e9 / s }')"
rss_loaded_end="$(rss_mb)"
created="$(grep -c ' criado' log*.txt || true)"
lines="$(wc -l <log*.txt)"
note "processor use with $live_target processes at 100 ms: $busy_cpu % over $load_elapsed s"
note "resident memory: $rss_loaded_start MB -> ${rss_half:-?} MB half-way -> $rss_loaded_end MB;" \
  "$created processes created," \
  "$lines log lines, $((live_sum / (live_samples > 0 ? live_samples : 1))) live on average"

echo "startup_s=$startup"
echo "rss_startup_mb=$rss_startup"
echo "idle_cpu_pct=$idle_cpu"
echo "busy_cpu_pct=$busy_cpu"
echo "busy_seconds=$load_elapsed"
echo "rss_loaded_start_mb=$rss_loaded_start"
echo "rss_loaded_half_mb=${rss_half:-$rss_loaded_end}"
echo "rss_loaded_end_mb=$rss_loaded_end"
echo "rss_growth_mb=$(awk -v a="$rss_loaded_start" -v b="$rss_loaded_end" 'BEGIN { printf "%.1f", b - a }')"
echo "processes_created=$created"
echo "log_lines=$lines"
echo "live_average=$((live_sum / (live_samples > 0 ? live_samples : 1)))"
