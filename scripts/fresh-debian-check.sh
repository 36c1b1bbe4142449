#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Tries the README's two commands on a fresh minimal Debian 12 or 13, as a new user would:
#
#   1. builds a minimal root of the release with `debootstrap --variant=minbase RELEASE` (kept in
#      the cache and copied afresh for every run; --refresh builds it again);
#   2. clones the current commit of this checkout into it twice, for root and for a normal user
#      "student" (uncommitted changes are not part of the check);
#   3. as student, before anything is installed: ./run.sh must stop with exit code 3, naming the
#      missing packages and the one command to run as root (the root has no sudo);
#   4. runs that command as root, then ./run.sh as student with an X server (Xvfb, outside the
#      root, so that the root holds only what running needs): the start bar must appear (found
#      with xdotool); the program is then closed;
#   5. as root: ./test.sh must exit 0 (it installs the rest, builds and runs every stage).
#
# It needs root (debootstrap, chroot, mounts) and the Debian package archive, so ./test.sh does
# not run it. Run it for both releases when the package list in scripts/install-deps.sh changes:
#
#   scripts/fresh-debian-check.sh [--refresh] [RELEASE]
#
# RELEASE is bookworm (or 12, the default) or trixie (or 13).
#
# Settings: FRESH_CACHE (default /var/cache/course-fresh-debian: per release the base root, the
# downloaded packages, the last result), FRESH_MIRROR (default http://deb.debian.org/debian), FRESH_DISPLAY
# (the X display number for Xvfb; by default the server picks a free one).
# Output: the log, the result and a screenshot of the start bar under build/fresh-debian/RELEASE/.
# Exit codes: 0 every step passed; 1 a step failed (the result says which); 2 cannot start
# (not root, no debootstrap, debootstrap failed).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mirror="${FRESH_MIRROR:-http://deb.debian.org/debian}"
refresh=0
release=bookworm
for arg in "$@"; do
  case "$arg" in
    --refresh) refresh=1 ;;
    12 | bookworm) release=bookworm ;;
    13 | trixie) release=trixie ;;
    *) echo "fresh-debian-check.sh: unknown argument '$arg' (--refresh, bookworm or 12, trixie or 13)" >&2
       exit 2 ;;
  esac
done
case "$release" in
  bookworm) number=12 ;;
  trixie) number=13 ;;
esac
cache="${FRESH_CACHE:-/var/cache/course-fresh-debian}/$release"
out="$repo/build/fresh-debian/$release"

if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-debian-check.sh: needs root (debootstrap, chroot and mounts)" >&2
  exit 2
fi
for tool in debootstrap git Xvfb xdotool xdpyinfo import; do
  if ! command -v $tool >/dev/null 2>&1; then
    echo "fresh-debian-check.sh: needs $tool (debootstrap, git, xvfb, xdotool, x11-utils, imagemagick)" >&2
    exit 2
  fi
done

mkdir -p "$cache/archives/partial" "$out"
log="$out/log.txt"
result="$out/result.txt"
: >"$log"
note() { echo "$*" | tee -a "$log"; }
# Runs a command, prefixing every line of its output with the seconds since the step began.
stamped() {
  local start=$SECONDS
  "$@" 2>&1 | while IFS= read -r line; do
    printf '[%5ds] %s\n' $((SECONDS - start)) "$line"
  done | tee -a "$log"
  return "${PIPESTATUS[0]}"
}

# --- 1. the base root ---------------------------------------------------------------------------
base="$cache/base"
if [ $refresh -eq 1 ] || [ ! -x "$base/bin/bash" ]; then
  rm -rf "$base" "$base.tmp"
  note "== debootstrap --variant=minbase $release ($mirror)"
  if ! stamped debootstrap --variant=minbase "$release" "$base.tmp" "$mirror"; then
    echo "fresh-debian-check.sh: debootstrap failed (log: $log)" >&2
    exit 2
  fi
  # The package sources an installation of the release has: the release, its updates, security.
  cat >"$base.tmp/etc/apt/sources.list" <<EOF
deb $mirror $release main
deb $mirror $release-updates main
deb http://deb.debian.org/debian-security $release-security main
EOF
  mv "$base.tmp" "$base"
fi

# --- the working root: a fresh copy of the base, with the kernel file systems inside ----------
rootfs="$cache/root"
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -R "${mounted[$i]}" 2>/dev/null || umount -R -l "${mounted[$i]}" 2>/dev/null || true
  done
  mounted=()
}
trap cleanup EXIT
mount_in() { # mount_in TARGET MOUNT-ARGS...
  local target="$rootfs$1"
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounted+=("$target")
}

# A run that was killed may have left its mounts behind.
if [ -d "$rootfs" ]; then
  { grep -o " $rootfs/[^ ]*" /proc/mounts || true; } | sort -r |
    while read -r m; do umount -l "$m" || true; done
  if grep -q " $rootfs/" /proc/mounts; then
    echo "fresh-debian-check.sh: $rootfs still has mounts; not removing it" >&2
    exit 2
  fi
  rm -rf --one-file-system "$rootfs"
fi
cp -a "$base" "$rootfs"
cp /etc/resolv.conf "$rootfs/etc/resolv.conf"
mount_in /proc -t proc proc
mount_in /sys -t sysfs sysfs
# /dev with /dev/pts and /dev/shm (the browser engine needs shared memory); mounts made inside
# must not travel back to the machine's /dev.
mount_in /dev --rbind /dev
mount --make-rslave "$rootfs/dev"
# Downloaded packages are kept between runs (they are still installed afresh every time).
mount_in /var/cache/apt/archives --bind "$cache/archives"

in_root() { chroot "$rootfs" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C TERM=dumb "$@"; }
as_student() { in_root runuser -u student -- /usr/bin/env HOME=/home/student USER=student "$@"; }

# --- 2. the project, for root and for a normal user -------------------------------------------
commit=$(git -C "$repo" rev-parse HEAD)
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
  note "note: the checkout has uncommitted changes; the check uses commit $commit without them"
fi
in_root useradd -m -s /bin/bash student
for home in root home/student; do
  git clone -q --no-hardlinks "$repo" "$rootfs/$home/course-testing"
  git -C "$rootfs/$home/course-testing" checkout -q --detach "$commit"
done
in_root chown -R student:student /home/student/course-testing

steps=()
costs=()
failed=0
step() { # step NAME passed|failed DETAILS
  steps+=("$(printf '%-44s %s' "$1" "$2${3:+ ($3)}")")
  [ "$2" = passed ] || failed=1
}
minutes() { awk -v s="$1" 'BEGIN { printf "%.1f", s / 60 }'; }
packages_now() { in_root dpkg-query -W -f='${Status}\n' | grep -c 'install ok installed'; }
used_mb() { du -sxm --exclude="$rootfs/var/cache/apt/archives" -- "$rootfs" | cut -f1; }

packages_before=$(packages_now)
mb_before=$(used_mb)
note "== fresh root: $packages_before packages, $mb_before MB; commit $commit"

# --- 3. a normal user without sudo, before anything is installed ------------------------------
note "== student: ./run.sh with nothing installed"
set +e
stamped as_student bash -c 'cd ~/course-testing && ./run.sh'
code=$?
set -e
# The one command the script tells the user to run as root.
root_command=$(grep -A2 'Run this once as root' "$log" | sed -n 's/^\[ *[0-9]*s\]     //p' | head -1)
if [ $code -eq 3 ] && [ -n "$root_command" ]; then
  step "run.sh as student, packages missing" passed "exit 3 and the command for root"
else
  step "run.sh as student, packages missing" failed "exit $code"
  root_command="bash /root/course-testing/scripts/install-deps.sh run"
fi

# What each group would install on the fresh root, as apt-get counts it (nothing is installed).
in_root apt-get update -qq
for group in run test; do
  list=$(in_root bash /root/course-testing/scripts/install-deps.sh --list "$group" | tr '\n' ' ')
  # shellcheck disable=SC2086
  cost=$(in_root apt-get install --assume-no --no-install-recommends $list 2>&1 |
    grep -E 'newly installed|^Need to get|^After this operation' | tr '\n' ' ' || true)
  note "apt-get for '$group': $cost"
  costs+=("$group: $cost")
done

# --- 4. root runs that command; ./run.sh as student then shows the start bar -------------------
note "== root: $root_command"
install_start=$SECONDS
set +e
stamped in_root HOME=/root bash -c "$root_command"
code=$?
set -e
install_minutes=$(minutes $((SECONDS - install_start)))
packages_run=$(packages_now)
mb_run=$(used_mb)
run_figures="$((packages_run - packages_before)) packages, $((mb_run - mb_before)) MB, $install_minutes min"
if [ $code -eq 0 ]; then
  step "the command for root" passed "$run_figures"
else
  step "the command for root" failed "exit $code"
fi

# The X server and xdotool run outside the root, so that it holds only what running needs; the
# program reaches the server through its abstract socket.
note "== student: ./run.sh under Xvfb"
xvfb_log="$out/xvfb.log"
if [ -n "${FRESH_DISPLAY:-}" ]; then
  Xvfb ":$FRESH_DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >"$xvfb_log" 2>&1 &
  xvfb=$!
  display=$FRESH_DISPLAY
else
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$out/display" >"$xvfb_log" 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
  display=$(cat "$out/display")
fi
export DISPLAY=":$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
run_start=$SECONDS
stamped as_student DISPLAY=":$display" bash -c 'cd ~/course-testing && ./run.sh' &
run_job=$!
# run.sh builds first; then the start bar is a small window titled "Тестирование" at the top.
found="" pid=""
while kill -0 $run_job 2>/dev/null && [ $((SECONDS - run_start)) -lt 5400 ]; do
  # Every window on this display is the program's. Under LANG=C their legacy WM_NAME is not
  # the title, so the name is read from _NET_WM_NAME (getwindowname) in a UTF-8 locale.
  for w in $(xdotool search --onlyvisible --class '.' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    name=$(LC_ALL=C.UTF-8 xdotool getwindowname "$w" 2>/dev/null)
    if [ "$name" = "Тестирование" ] && [ "$HEIGHT" -lt 100 ] && [ "$Y" -lt 20 ]; then
      found="at $X,$Y, ${WIDTH}x$HEIGHT"
      pid=$(xdotool getwindowpid "$w" 2>/dev/null || true)
    fi
  done
  [ -n "$found" ] && break
  sleep 1
done
run_minutes=$(minutes $((SECONDS - run_start)))
if [ -n "$found" ]; then
  sleep 3
  import -display ":$display" -window root "$out/start-bar.png" || true
  step "run.sh as student under Xvfb" passed "start bar $found after $run_minutes min (build included)"
else
  step "run.sh as student under Xvfb" failed "no start bar"
fi
# Closes the program (run.sh replaced itself with it), then the X server.
[ -n "$pid" ] && kill "$pid" 2>/dev/null
for _ in $(seq 100); do kill -0 $run_job 2>/dev/null || break; sleep 0.1; done
if kill -0 $run_job 2>/dev/null; then
  note "the program did not end; stopping what run.sh started"
  pkill -TERM -P $run_job 2>/dev/null || true
  kill $run_job 2>/dev/null || true
fi
wait $run_job 2>/dev/null || true
kill $xvfb 2>/dev/null || true
wait $xvfb 2>/dev/null || true
unset DISPLAY

# --- 5. ./test.sh as root ---------------------------------------------------------------------
note "== root: ./test.sh"
test_start=$SECONDS
set +e
stamped in_root HOME=/root bash -c 'cd /root/course-testing && ./test.sh'
code=$?
set -e
test_minutes=$(minutes $((SECONDS - test_start)))
# The seconds at which test.sh began to build: what came before was installing packages.
# (awk reads the whole log: a reader that stops at the first match would fail the pipe.)
build_at=$(awk '/== root: .\/test.sh/ { on = 1 } on && /\] == build$/ { print; exit }' "$log" |
  tr -dc '0-9\n')
packages_after=$(packages_now)
mb_after=$(used_mb)
download_mb=$(du -sm "$cache/archives" | cut -f1)
figures="$((packages_after - packages_run)) more packages, $((mb_after - mb_run)) MB more, $test_minutes min"
[ -n "$build_at" ] && figures+=" ($(minutes "$build_at") min of it installing)"
if [ $code -eq 0 ]; then
  step "test.sh as root" passed "$figures"
else
  step "test.sh as root" failed "exit $code; $figures"
fi
# The summary test.sh printed, one line per stage.
stages=$(sed -n '/== root: .\/test.sh/,$p' "$log" | sed -n '/\] == summary$/,$p' |
  sed 's/^\[ *[0-9]*s\] //' | tail -n +2)

{
  echo "Fresh Debian $number ($release) check, $(date -u '+%Y-%m-%d %H:%M UTC'), commit ${commit:0:12}: $([ $failed -eq 0 ] && echo passed || echo FAILED)"
  printf '%s\n' "${steps[@]}"
  echo "In all: $((packages_after - packages_before)) packages installed, $((mb_after - mb_before)) MB more on disk, $download_mb MB of packages downloaded"
  echo "apt-get's count on the fresh root:"
  printf '  %s\n' "${costs[@]}"
  echo "test.sh stages:"
  echo "$stages" | sed 's/^/  /'
} >"$result"
cp "$result" "$cache/last-result.txt"
echo
cat "$result"
exit $failed
