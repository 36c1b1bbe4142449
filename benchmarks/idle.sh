#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Idle CPU and memory of the program's whole process tree (the program and the web engine's
# processes), against one bare web view showing the textbook's start page (bare_web_view), run in
# interleaved pairs, each run on its own Xvfb at 1024 x 768.
#   benchmarks/idle.sh [BUILD_DIR] [SECONDS] [PAIRS]     (default build/release, 10 s, 5 pairs)
# The program is left alone until its splash has ended and the textbook shows its start page
# (measured there too), then "Тестирование..." on the start bar brings the registration menu.
# Then, with nothing changing on screen, the CPU ticks of the tree (/proc/PID/stat, utime + stime
# of every process in it) are counted over SECONDS, and its memory is read: the sum of the
# proportional set sizes (Pss, shared pages divided among the processes that share them) and of
# the peak resident sizes (VmHWM) of its processes. The web engine's helper processes move by a
# few MiB from one start to the next, in both programs alike, so the ratios are medians of the
# pairs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
seconds=${2:-10}
pairs=${3:-5}
program=$build/bin/course-testing
webview=$build/benchmarks/bare_web_view
for f in "$program" "$webview"; do
  [ -x "$f" ] || { echo "missing $f (build the targets course-testing bare_web_view)"; exit 2; }
done
command -v xdotool >/dev/null || { echo "xdotool is needed"; exit 2; }
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
hz=$(getconf CLK_TCK)
results=$(mktemp -d)
xvfb=""
stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }
trap 'if [ -n "$xvfb" ]; then stop $xvfb; fi; rm -rf "$results"' EXIT

# The process and all its descendants.
tree() {
  local pids=$1 frontier=$1 next
  while [ -n "$frontier" ]; do
    next=""
    for p in $frontier; do next="$next $(cat /proc/$p/task/*/children 2>/dev/null)"; done
    frontier=$(echo $next)
    pids="$pids $frontier"
  done
  echo $pids
}
ticks() { local t=0; for p in $(tree "$1"); do t=$((t + $(awk '{ print $14 + $15 }' /proc/$p/stat 2>/dev/null || echo 0))); done; echo $t; }
kib() { local s=0; for p in $(tree "$1"); do s=$((s + $(awk -v k="$2:" '$1 == k { print $2 }' "/proc/$p/$3" 2>/dev/null || echo 0))); done; echo $s; }

# measure NAME PID: prints the tree's idle CPU and memory and each process, and adds
# "ticks pss hwm" to the file NAME in the results.
measure() {
  local before after pss hwm
  before=$(ticks "$2"); sleep "$seconds"; after=$(ticks "$2")
  pss=$(kib "$2" Pss smaps_rollup); hwm=$(kib "$2" VmHWM status)
  awk -v n="$1" -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v pss="$pss" -v hwm="$hwm" \
    'BEGIN { printf "  %s: %d ticks in %d s = %.1f %% of a core; Pss %.0f MiB, peak RSS %.0f MiB\n", n, t, s, 100 * t / hz / s, pss / 1024, hwm / 1024 }'
  for p in $(tree "$2"); do
    printf '      %-24s Pss %6d KiB, peak RSS %6d KiB\n' "$(tr '\0' ' ' </proc/$p/cmdline | cut -c1-24 | sed 's/.*\///')" \
      "$(awk '$1 == "Pss:" { print $2 }' /proc/$p/smaps_rollup 2>/dev/null)" "$(awk '$1 == "VmHWM:" { print $2 }' /proc/$p/status 2>/dev/null)"
  done
  echo "$((after - before)) $pss $hwm" >>"$results/$1"
}

start_x() {
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  read -r -u "$fd" display
  export DISPLAY=":$display"
}

bare_run() {
  start_x
  (cd "$root/course" && exec "$webview" "$root/course/html/0000.htm") >/dev/null 2>&1 &
  local view=$!
  sleep 8
  measure "web view" "$view"
  stop "$view"; stop "$xvfb"; xvfb=""
}

program_run() {
  start_x
  (cd "$root/course" && exec "$program") >/dev/null 2>&1 &
  local app=$!
  sleep 9                                  # the splash (5 s) and the textbook's start page
  measure "program at the textbook" "$app"
  xdotool mousemove $((462 + 2 + 8 + 66)) $((2 + 2 + 3 + 11)) click 1   # "Тестирование..."
  sleep 2
  xdotool mousemove 1000 760               # the pointer rests outside every button
  sleep 1
  measure "program at the menu" "$app"
  stop "$app"; stop "$xvfb"; xvfb=""
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column() { awk -v c="$2" '{ print $c }' "$results/$1" | median; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for i in $(seq "$pairs"); do
  echo "pair $i:"
  # The order inside a pair alternates, so that neither always follows the other.
  if (( i % 2 )); then bare_run; program_run; else program_run; bare_run; fi
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
for n in "web view" "program at the textbook" "program at the menu"; do
  awk -v n="$n" -v t="$(column "$n" 1)" -v hz="$hz" -v s="$seconds" -v pss="$(column "$n" 2)" -v hwm="$(column "$n" 3)" \
    'BEGIN { printf "median, %s: %.1f ticks in %d s = %.1f %% of a core; Pss %.0f MiB, peak RSS %.0f MiB\n", n, t, s, 100 * t / hz / s, pss / 1024, hwm / 1024 }'
done
# The ratio of each pair, and their median.
paste -d' ' "$results/program at the menu" "$results/web view" |
  awk '{ printf "%.4f %.4f\n", $3 / $6, $2 / $5 }' >"$results/ratios"
awk '{ printf "pair %d: program at the menu / one web view: peak RSS %.3f, Pss %.3f\n", NR, $1, $2 }' "$results/ratios"
awk -v h="$(awk '{ print $1 }' "$results/ratios" | median)" -v p="$(awk '{ print $2 }' "$results/ratios" | median)" 'BEGIN {
  printf "memory program / one web view, median of the pairs: peak RSS %.3f, Pss %.3f (goal: 1.05 at most)\n", h, p }'
