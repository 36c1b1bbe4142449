#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up benchmark: the time from starting the program to its first window being mapped, run
# interleaved with a bare Qt Widgets window program (bare_window) in the same run, on its own Xvfb
# at 1024 x 768. Prints every pair, the medians and the ratio program / bare window.
#   benchmarks/startup.sh [BUILD_DIR] [PAIRS]     (default build/release, 5 pairs)
# BUILD_DIR must hold bin/course-testing, benchmarks/bare_window and benchmarks/first_window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
pairs=${2:-5}
program=$build/bin/course-testing
bare=$build/benchmarks/bare_window
timer=$build/benchmarks/first_window
for f in "$program" "$bare" "$timer"; do
  [ -x "$f" ] || { echo "missing $f (build the targets course-testing bare_window first_window)"; exit 2; }
done
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true' EXIT
read -r -u "$fd" display
export DISPLAY=":$display"

median() { grep -v nan | sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# One start; "nan" when no window came (the pair's figure is then left out of the median).
once() { (cd "$root/course" && "$timer" --timeout 60 "$1" 2>/dev/null) || echo nan; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
once "$bare" >/dev/null # warms the file cache for both
once "$program" >/dev/null
: >/tmp/startup-bare.$$ ; : >/tmp/startup-program.$$
for i in $(seq "$pairs"); do
  # The order inside a pair alternates, so that neither always follows the other.
  if (( i % 2 )); then b=$(once "$bare"); p=$(once "$program"); else p=$(once "$program"); b=$(once "$bare"); fi
  echo "pair $i: bare window $b ms, program $p ms"
  echo "$b" >>/tmp/startup-bare.$$; echo "$p" >>/tmp/startup-program.$$
done
mb=$(median </tmp/startup-bare.$$); mp=$(median </tmp/startup-program.$$)
rm -f /tmp/startup-bare.$$ /tmp/startup-program.$$
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "median: bare window $mb ms, program $mp ms"
awk -v p="$mp" -v b="$mb" 'BEGIN { printf "first window / bare window = %.2f (goal: 1.2 at most)\n", p / b }'
