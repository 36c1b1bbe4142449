#!/usr/bin/env bash
# The real program at 1024 x 768: the splash comes first, and when it ends the textbook shows its
# start page (its browser is built behind the splash). Passes when the textbook's window is shown
# within a minute and its browser area holds a drawn page (many colours, not an empty view).
#   scripts/window-checks/textbook-after-splash.sh BINARY
set -euo pipefail
bin=$(realpath "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
work=$(mktemp -d)
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() {
  [ -n "$app" ] && { kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; }
  kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
read -r -u "$fd" display
export DISPLAY=":$display"
(cd "$root/course" && exec "$bin") >"$work/log" 2>&1 &
app=$!

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
for _ in $(seq 600); do [ -n "$(visible '^Учебник')" ] && break; sleep 0.1; done
[ -n "$(visible '^Учебник')" ] || { echo "FAIL: no textbook window after the splash"; exit 1; }

# The start page is drawn inside the textbook's frame (the browser area at 1024 x 768).
for _ in $(seq 100); do
  import -window root -crop 860x600+82+90 +repage "$work/page.png"
  colours=$(identify -format '%k' "$work/page.png")
  [ "$colours" -gt 50 ] && break
  sleep 0.3
done
kill -0 "$app" || { echo "FAIL: the program ended"; exit 1; }
[ "$colours" -gt 50 ] || { echo "FAIL: the textbook's browser shows no page ($colours colours)"; exit 1; }
echo "textbook shows its start page after the splash ($colours colours)"
