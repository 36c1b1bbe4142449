#!/usr/bin/env bash
# Idle CPU and memory of the program's whole process tree (the program and the web engine's
# processes), against one bare web view showing the textbook's start page (bare_web_view), each
# on its own Xvfb at 1024 x 768 in the same run.
#   benchmarks/idle.sh [BUILD_DIR] [SECONDS]     (default build/release, 10 s)
# The program is left alone until its splash has ended and the textbook shows its start page
# (measured there too), then "Тестирование..." on the start bar brings the registration menu.
# Then, with nothing
# changing on screen, the CPU ticks of the tree (/proc/PID/stat, utime + stime of every process
# in it) are counted over SECONDS, and its memory is read: the sum of the proportional set sizes
# (Pss, shared pages divided among the processes that share them) and of the peak resident sizes
# (VmHWM) of its processes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
seconds=${2:-10}
program=$build/bin/course-testing
webview=$build/benchmarks/bare_web_view
for f in "$program" "$webview"; do
  [ -x "$f" ] || { echo "missing $f (build the targets course-testing bare_web_view)"; exit 2; }
done
command -v xdotool >/dev/null || { echo "xdotool is needed"; exit 2; }
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
hz=$(getconf CLK_TCK)

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

measure() { # name pid
  local before after
  before=$(ticks "$2"); sleep "$seconds"; after=$(ticks "$2")
  local pss hwm
  pss=$(kib "$2" Pss smaps_rollup); hwm=$(kib "$2" VmHWM status)
  awk -v n="$1" -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v pss="$pss" -v hwm="$hwm" \
    'BEGIN { printf "%s: %d ticks in %d s = %.1f %% of a core; Pss %.0f MiB, peak RSS %.0f MiB\n", n, t, s, 100 * t / hz / s, pss / 1024, hwm / 1024 }'
  for p in $(tree "$2"); do
    printf '    %-24s Pss %6d KiB, peak RSS %6d KiB\n' "$(tr '\0' ' ' </proc/$p/cmdline | cut -c1-24 | sed 's/.*\///')" \
      "$(awk '$1 == "Pss:" { print $2 }' /proc/$p/smaps_rollup 2>/dev/null)" "$(awk '$1 == "VmHWM:" { print $2 }' /proc/$p/status 2>/dev/null)"
  done
  echo "$pss $hwm" >"/tmp/idle-$1.$$"
}

start_x() {
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  read -r -u "$fd" display
  export DISPLAY=":$display"
}
stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
start_x
trap 'stop $xvfb' EXIT
(cd "$root/course" && exec "$webview" "$root/course/html/0000.htm") >/dev/null 2>&1 &
view=$!
sleep 8
measure "web view" "$view"
stop "$view"; stop "$xvfb"

start_x
(cd "$root/course" && exec "$program") >/dev/null 2>&1 &
app=$!
sleep 9                                  # the splash (5 s) and the textbook's start page
measure "program at the textbook" "$app"
xdotool mousemove $((462 + 2 + 8 + 66)) $((2 + 2 + 3 + 11)) click 1   # "Тестирование..."
sleep 2
xdotool mousemove 1000 760               # the pointer rests outside every button
sleep 1
measure "program at the menu" "$app"
stop "$app"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
read -r ppss phwm <"/tmp/idle-program at the menu.$$"
read -r bpss bhwm <"/tmp/idle-web view.$$"
awk -v pp="$ppss" -v bp="$bpss" -v ph="$phwm" -v bh="$bhwm" 'BEGIN {
  printf "memory program / one web view: peak RSS %.2f, Pss %.2f (goal: 1.05 at most)\n", ph / bh, pp / bp }'
rm -f "/tmp/idle-program at the menu.$$" "/tmp/idle-web view.$$" "/tmp/idle-program at the textbook.$$"
