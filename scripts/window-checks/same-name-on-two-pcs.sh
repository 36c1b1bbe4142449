#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Two PCs of a lab on one shared course folder, each a display of its own: a student starts a
# control test under a name; another registers under the same name on the second PC. The second
# is refused in the menu (no control screen, the fields stay editable), the first test's files are
# untouched, and under a corrected name the second control test opens.
#   scripts/window-checks/same-name-on-two-pcs.sh BINARY
set -euo pipefail
bin=$(realpath "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
course=$(mktemp -d)
cp -r "$root/course/." "$course/"
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
pids=()
cleanup() {
  local pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$course"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

w=1024 h=768
source "$root/scripts/window-checks/common.bash"
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-1}"; }

# One "PC": a display of its own with the program started in the shared course folder; sets
# $display (run in this shell, not a subshell, so that the cleanup knows every process).
start_pc() {
  local fdfile; fdfile=$(mktemp)
  Xvfb -displayfd 1 -screen 0 "${w}x${h}x24" -nolisten tcp -noreset >"$fdfile" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  display=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  [ "$display" != ":" ] || fail "Xvfb did not start"
  (cd "$course" && DISPLAY=$display exec "$bin") >/dev/null 2>&1 &
  pids+=($!)
}

menu_places "$w" "$h"
# A window of this title on view now; window_named waits up to 30 s for one (a search can also
# come back empty while other windows come and go).
window_now() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
window_named() { eventually 30 window_now "$1"; }

start_pc; pc1=$display
start_pc; pc2=$display
sleep 9 # past the splash on both

# PC 1: the first student starts a control test and answers nothing yet.
export DISPLAY=$pc1
open_menu_and_register "Ivanov I. I."
press_control
window_named '^Внимание!$' || fail "the first control test did not open"
cx=$(half $((w - 775))) cy=$(half $((h - 534)))
click $((cx + 16 + 88)) $((cy + 483 + 10 + 15)) 2                  # "OK": question 1
window_named '^Вопрос 1$' || fail "the first control test did not start"
data="$course/otchet/data1/Ivanov I. I..txt"
report="$course/otchet/print otchet/Ivanov I. I..txt"
[ -f "$data" ] || fail "no data file of the first test: $(ls "$course/otchet/data1")"
[ -f "$course/otchet/data1/Ivanov I. I..lock" ] || fail "the running test holds no lock"
before_data=$(sha256sum "$data") before_report=$(sha256sum "$report")

# PC 2: the same name is refused in the menu.
export DISPLAY=$pc2
open_menu_and_register "Ivanov I. I."
press_control
window_now '^Внимание!$' && fail "a second control test under the same name opened: $(ls "$course/otchet/data1")"
[ "$(sha256sum "$data")" = "$before_data" ] || fail "the first test's data file changed"
[ "$(sha256sum "$report")" = "$before_report" ] || fail "the first test's report changed"
xdotool key Return; sleep 1                                         # the message box closes
# The fields stay editable: the name is corrected and the control test opens.
click $((px + 4 + 104 + 150)) $((py + 229 + 8 + 12)) 0.3
xdotool key End; xdotool type --delay 60 " (2)"
press_control
window_named '^Внимание!$' || fail "the corrected name did not open the control test"
[ -f "$course/otchet/data1/Ivanov I. I. (2).txt" ] ||
  fail "no data file under the corrected name: $(ls "$course/otchet/data1")"

# PC 1 is still on its first question with its files intact.
export DISPLAY=$pc1
window_named '^Вопрос 1$' || fail "the first test left its question"
[ "$(sha256sum "$data")" = "$before_data" ] || fail "the first test's data file changed"
echo "same name on two PCs: refused, first test intact"
