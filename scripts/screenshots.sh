#!/usr/bin/env bash
# Starts the real program under Xvfb at 1024 x 768 and at 800 x 600, waits past the splash,
# walks through a few screens with xdotool and saves PNGs under build/screenshots/.
#   scripts/screenshots.sh [BINARY]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bin=$(realpath "${1:-$root/build/release/bin/course-testing}")
out=$root/build/screenshots
mkdir -p "$out"
if [ ! -x "$bin" ]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCOURSE_BUILD_TESTS=OFF \
        -DCOURSE_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build build/release --target course-testing
fi
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"

shot() { import -window root "$out/$1.png"; echo "saved $out/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-1}"; }

run_at() {
  local w=$1 h=$2 disp=$3
  Xvfb ":$disp" -screen 0 "${w}x${h}x24" -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  export DISPLAY=":$disp"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  (cd "$root/course" && exec "$bin") >/tmp/screenshots-$w.log 2>&1 &
  local app=$!
  sleep 2.5; shot "splash-$w"
  sleep 5;   shot "textbook-$w"
  # Start bar geometry: left by the halving rule, top 2, 2-pixel border.
  local left=$(( (w / 2) - (h <= 623 ? 150 : 50) ))
  if [ $(( w % 4 )) -eq 2 ]; then :; fi
  xdotool mousemove $((left + 2 + 148 + 60)) 14; sleep 0.5; shot "startbar-hover-$w"
  click $((left + 2 + 8 + 60)) 14 2; shot "menu-$w"
  # Menu: entry panel, then the registration fields.
  if [ -n "${SCREENSHOT_SCENARIO:-}" ] && [ -x "$SCREENSHOT_SCENARIO" ]; then
    "$SCREENSHOT_SCENARIO" "$w" "$h" "$out" || true
  fi
  click $((left + 2 + 148 + 60)) 14 2; shot "help-$w"
  # "Выход" ends the program.
  click $((left + 2 + 283 + 40)) 14 1
  local code=0
  for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app" 2>/dev/null; then echo "program still running after Выход" >&2; kill "$app"; code=1; fi
  wait "$app" 2>/dev/null || code=$?
  echo "exit code at ${w}x${h}: $code"
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}

run_at 1024 768 91
run_at 800 600 92
