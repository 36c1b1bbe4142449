#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up with the course on a network share: the time from starting the program to its first
# window being mapped, with the course folder (--course) on an sshfs share whose every request
# costs a 10 ms round trip (benchmarks/share_relay.py), against the same course on the local disk,
# in interleaved pairs on an Xvfb of its own at 1024 x 768. The share is mounted afresh before
# every start, so no start finds the share's caches warm. Prints every pair, the medians, the
# ratio share / local disk, and every file system call on the course before its first window.
#   benchmarks/share_startup.sh [BUILD_DIR] [PAIRS] [DELAY_MS]   (default build/release, 5, 10)
# Needs sshfs and openssh-sftp-server (scripts/install-deps.sh test), /dev/fuse and root (or
# fusermount rights). BUILD_DIR must hold bin/course-testing and benchmarks/first_window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
pairs=${2:-5}
export SHARE_DELAY_MS=${3:-10}
program=$build/bin/course-testing
timer=$build/benchmarks/first_window
for f in "$program" "$timer"; do
  [ -x "$f" ] || { echo "missing $f (build the targets course-testing first_window)"; exit 2; }
done
command -v sshfs >/dev/null || { echo "sshfs is not installed"; exit 2; }
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"

work=$(mktemp -d)
share=$work/share
mkdir -p "$share"
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  fusermount -u "$share" 2>/dev/null || umount "$share" 2>/dev/null || true
  kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
read -r -u "$fd" display
export DISPLAY=":$display"

mount_share() {
  fusermount -u "$share" 2>/dev/null || umount "$share" 2>/dev/null || true
  sshfs -o ssh_command="$root/benchmarks/share_relay.py" "localhost:$root/course" "$share"
}
median() { grep -v nan | sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# One start from a neutral folder; "nan" when no window came.
once() { (cd "$work" && "$timer" --timeout 60 "$program" --course "$1" 2>/dev/null) || echo nan; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
once "$root/course" >/dev/null # warms the file cache of the program's libraries
: >"$work/local"; : >"$work/share-times"
for i in $(seq "$pairs"); do
  mount_share
  if (( i % 2 )); then l=$(once "$root/course"); s=$(once "$share"); else s=$(once "$share"); l=$(once "$root/course"); fi
  echo "pair $i: local disk $l ms, share $s ms"
  echo "$l" >>"$work/local"; echo "$s" >>"$work/share-times"
done
ml=$(median <"$work/local"); ms=$(median <"$work/share-times")
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "median: local disk $ml ms, share $ms ms (round trip ${SHARE_DELAY_MS} ms)"
awk -v s="$ms" -v l="$ml" 'BEGIN { printf "share / local disk = %.2f (goal: 1.5 at most)\n", s / l }'

# What the program touches in the course folder before its first window: every file system call
# that names a path in the course, absolute or relative to the working folder (the program changes
# into the course folder) or to a folder descriptor, or that uses a descriptor of a file or
# folder in it (reads, listings, fstat), from the start until first_window has seen the first
# window and ends the program (its kill() closes the list; benchmarks/course_calls.py).
if command -v strace >/dev/null; then
  mount_share
  (cd "$work" && strace -f -qq -ttt -y -e trace=%file,%desc,%process,kill -o "$work/trace" \
     "$timer" --timeout 60 "$program" --course "$share" >/dev/null 2>&1) || true
  echo "file system calls touching the course (on the share) before the first window:"
  python3 "$root/benchmarks/course_calls.py" "$work/trace" "$share" "$work" >"$work/calls"
  if [ "$(wc -l <"$work/calls")" -gt 41 ]; then
    head -40 "$work/calls"; echo "  ..."; tail -1 "$work/calls"
  else
    cat "$work/calls"
  fi
fi
