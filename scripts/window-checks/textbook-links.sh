#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# A student clicks a "mailto:" and a "file:///" link on a textbook page other than the start page
# in the real program under Xvfb: nothing is started (a fake opener first on the search path stays
# unused), the notice comes and goes, the page stays (the textbook does not go back to its start
# page), the program keeps running, and it printed nothing (the web engine's start-up report
# included).
#   scripts/window-checks/textbook-links.sh BINARY
set -euo pipefail
bin=$(realpath "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
app='' xvfb=''
cleanup() {
  local code=$?
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
  exit "$code"
}
trap cleanup EXIT
fail() { echo "textbook-links: $*" >&2; exit 1; }

# A copy of the course whose start page is one link over the whole page to a page of two links:
# mail over the top half, the disk's root over the bottom half. Each page has a colour no other
# page has.
cp -r "$root/course" "$work/course"
printf '%s\r\n' '<html><head><meta http-equiv="Content-Type" content="text/html; charset=windows-1251">' \
  '<style>body{margin:0;background:#654321} a{position:fixed;top:0;bottom:0;left:0;right:0;display:block}</style>' \
  '</head><body><a href="links.htm">links</a></body></html>' >"$work/course/html/0000.htm"
printf '%s\r\n' '<html><head><meta http-equiv="Content-Type" content="text/html; charset=windows-1251">' \
  '<style>body{margin:0;background:#123456} a{position:fixed;left:0;right:0;height:50%;display:block}</style>' \
  '</head><body><a href="mailto:teacher@example.com" style="top:0">mail</a>' \
  '<a href="file:///" style="bottom:0">disk</a></body></html>' >"$work/course/html/links.htm"

# Every program a desktop would use to open an address records that it was called.
mkdir "$work/bin"
for opener in xdg-open gio kde-open kde-open5 exo-open gnome-open x-www-browser sensible-browser \
              www-browser firefox firefox-esr chromium thunderbird xdg-email; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/launched"\n' "$opener" "$work" >"$work/bin/$opener"
  chmod +x "$work/bin/$opener"
done

source "$root/scripts/window-checks/common.bash"
start_xvfb 1024 768 "$work"
export PATH="$work/bin:$PATH"
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
(cd "$work/course" && exec "$bin") >"$work/out.log" 2>&1 &
app=$!

# Waits (up to a minute: a loaded machine is slow) until COMMAND... succeeds.
within() { local until=$((SECONDS + 60)); until "$@"; do [ "$SECONDS" -lt "$until" ] || return 1; sleep 0.2; done; }
# The textbook (924 x 698 at 50, 35 on 1024 x 768) shows its start page when the splash ends.
colour() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n1; }
colour_is() { [ "$(colour "$1" "$2")" = "$3" ]; }
# Windows titled exactly "Тестирование": the start bar, and a notice while one is open.
titled() { xdotool search --onlyvisible --name '^Тестирование$' 2>/dev/null | wc -l; }
titled_is() { [ "$(titled)" -eq "$1" ]; }
within colour_is 512 400 '#654321' || fail "the start page did not appear"
xdotool mousemove 512 400 click 1
within colour_is 512 400 '#123456' || fail "the page of links did not open"
bars=$(titled)

for at in "512 200" "512 600"; do
  set -- $at
  xdotool mousemove "$1" "$2" click 1
  within titled_is $((bars + 1)) || fail "no notice after a click at $at"
  [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/textbook-links-$1-$2.png"
  xdotool key Escape # closes the notice
  within titled_is "$bars" || fail "the notice did not close after a click at $at"
  kill -0 "$app" 2>/dev/null || fail "the program ended after a click at $at"
  # The textbook had the keyboard back and stayed on the page (it went back to its start page,
  # #654321, when the notice counted as leaving it): the page must hold for a while.
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    colour_is 512 400 '#123456' && colour_is 512 650 '#123456' ||
      fail "the page did not stay after a click at $at"
    sleep 0.3
  done
done
if [ -e "$work/launched" ]; then fail "an opener was started: $(cat "$work/launched")"; fi
# Nothing on the terminal but what this machine's session itself causes (no runtime folder, and
# the engine's sandbox turned off for root).
noise=$(grep -v -e '^QStandardPaths: XDG_RUNTIME_DIR not set' -e '^Sandboxing disabled by user.$' \
        "$work/out.log" || true)
[ -z "$noise" ] || fail "the program printed: $noise"
echo "textbook-links: passed"
