#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The program starts on a real X display (Xvfb, 1024 x 768, no window manager) and shows its start
# bar: a window titled "Тестирование" at the top, centred by the halving rule (left 462, top 2).
#   scripts/window-checks/start-bar.sh BINARY
set -uo pipefail
bin=$(realpath "${1:?usage: start-bar.sh BINARY}")
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work=$(mktemp -d)
xvfb="" app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# -displayfd: the server takes a free display number and writes it.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then echo "start-bar: Xvfb did not start" >&2; exit 1; fi
export DISPLAY=":$(cat "$work/display")"
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"

(cd "$root/course" && exec "$bin") >"$work/program.log" 2>&1 &
app=$!
found=""
for _ in $(seq 600); do
  kill -0 "$app" 2>/dev/null || break
  # The program's windows by its process id: under LANG=C their legacy WM_NAME is not the
  # title, so the name is read from _NET_WM_NAME (getwindowname) in a UTF-8 locale.
  for w in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    name=$(LC_ALL=C.UTF-8 xdotool getwindowname "$w" 2>/dev/null)
    if [ "$name" = "Тестирование" ] && [ "$HEIGHT" -lt 100 ]; then found="$X,$Y"; fi
  done
  [ -n "$found" ] && break
  sleep 0.1
done
if [ -z "$found" ]; then
  echo "start-bar: no start bar appeared within a minute" >&2
  tail -n 20 "$work/program.log" >&2
  exit 1
fi
if [ "$found" != "462,2" ]; then
  echo "start-bar: the start bar is at $found, not at 462,2" >&2
  exit 1
fi
echo "start-bar: the start bar is shown at $found"
