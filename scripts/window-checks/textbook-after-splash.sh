#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program at 1024 x 768: the splash comes first, and when it ends the textbook shows its
# start page (its browser is built behind the splash). Passes when the textbook's window is shown
# within a minute and its browser area holds a drawn page (many colours, not an empty view).
#   scripts/window-checks/textbook-after-splash.sh BINARY
set -euo pipefail
bin=$(realpath "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
work=$(mktemp -d)
xvfb=""
app=""
cleanup() {
  [ -n "$app" ] && { kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; }
  [ -n "$xvfb" ] && { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; }
  rm -rf "$work"
}
trap cleanup EXIT

# A failure says whether the program still runs, which windows are on view and its last words.
fail() {
  echo "FAIL: $*"
  if [ -z "$app" ]; then :; elif kill -0 "$app" 2>/dev/null; then echo "the program still runs"; else
    wait "$app" && status=0 || status=$?
    app=""
    echo "the program ended with status $status"
  fi
  echo "windows on view:"
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "  $id $(xdotool getwindowname "$id" 2>/dev/null)"
  done
  if [ -s "$work/log" ]; then
    echo "the program's last words (DISPLAY=$DISPLAY):"
    tail -n 20 "$work/log"
  fi
  exit 1
}
source "$root/scripts/window-checks/common.bash"

# The program on an X server of its own. A program that could not reach the X server, which had
# answered a moment before, is started again on a new one, twice at most, saying so.
for attempt in 1 2 3; do
  start_xvfb 1024 768 "$work"
  (cd "$root/course" && exec "$bin") >"$work/log" 2>&1 &
  app=$!
  for _ in $(seq 20); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && break
  grep -q 'could not connect to display' "$work/log" || break # the wait below says why
  echo "the program could not reach the X server on $DISPLAY (attempt $attempt):"
  ls -la /tmp/.X11-unix
  wait "$app" || true
  app=""
  kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true
  xvfb=""
done

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true; }
# Asked once a round: a search can come back empty while other windows come and go.
textbook=""
for _ in $(seq 600); do
  textbook=$(visible '^Учебник')
  [ -n "$textbook" ] && break
  kill -0 "$app" 2>/dev/null || fail "the program ended before the textbook was shown"
  sleep 0.1
done
[ -n "$textbook" ] || fail "no textbook window after the splash"

# The start page is drawn inside the textbook's frame (the browser area at 1024 x 768).
for _ in $(seq 100); do
  import -window root -crop 860x600+82+90 +repage "$work/page.png"
  colours=$(identify -format '%k' "$work/page.png")
  [ "$colours" -gt 50 ] && break
  sleep 0.3
done
kill -0 "$app" 2>/dev/null || fail "the program ended"
[ "$colours" -gt 50 ] || fail "the textbook's browser shows no page ($colours colours)"
echo "textbook shows its start page after the splash ($colours colours)"
