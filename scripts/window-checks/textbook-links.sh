#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# A student clicks a "mailto:" and a "file:///" link on a textbook page in the real program under
# Xvfb: nothing is started (a fake opener first on the search path stays unused), the page stays,
# the program keeps running, and it printed nothing (the web engine's start-up report included).
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

# A copy of the course whose start page is two links: mail over the top half, the disk's root
# over the bottom half, both on a colour no other page has.
cp -r "$root/course" "$work/course"
printf '%s\r\n' '<html><head><meta http-equiv="Content-Type" content="text/html; charset=windows-1251">' \
  '<style>body{margin:0;background:#123456} a{position:fixed;left:0;right:0;height:50%;display:block}</style>' \
  '</head><body><a href="mailto:teacher@example.com" style="top:0">mail</a>' \
  '<a href="file:///" style="bottom:0">disk</a></body></html>' >"$work/course/html/0000.htm"

# Every program a desktop would use to open an address records that it was called.
mkdir "$work/bin"
for opener in xdg-open gio kde-open kde-open5 exo-open gnome-open x-www-browser sensible-browser \
              www-browser firefox firefox-esr chromium thunderbird xdg-email; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/launched"\n' "$opener" "$work" >"$work/bin/$opener"
  chmod +x "$work/bin/$opener"
done

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
export PATH="$work/bin:$PATH"
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
(cd "$work/course" && exec "$bin") >"$work/out.log" 2>&1 &
app=$!

# The textbook (924 x 698 at 50, 35 on 1024 x 768) shows its start page when the splash ends.
colour() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n1; }
for _ in $(seq 150); do [ "$(colour 512 400)" = "#123456" ] && break; sleep 0.2; done
[ "$(colour 512 400)" = "#123456" ] || fail "the start page did not appear"

for at in "512 200" "512 600"; do
  set -- $at
  xdotool mousemove "$1" "$2" click 1
  sleep 3
  [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/textbook-links-$1-$2.png"
  xdotool key Escape # closes the notice
  sleep 1
  kill -0 "$app" 2>/dev/null || fail "the program ended after a click at $at"
  [ "$(colour 512 400)" = "#123456" ] || fail "the page did not stay after a click at $at"
  [ "$(colour 512 650)" = "#123456" ] || fail "the page did not stay after a click at $at"
done
if [ -e "$work/launched" ]; then fail "an opener was started: $(cat "$work/launched")"; fi
# Nothing on the terminal but what this machine's session itself causes (no runtime folder, and
# the engine's sandbox turned off for root).
noise=$(grep -v -e '^QStandardPaths: XDG_RUNTIME_DIR not set' -e '^Sandboxing disabled by user.$' \
        "$work/out.log" || true)
[ -z "$noise" ] || fail "the program printed: $noise"
echo "textbook-links: passed"
