#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# A student who cannot use a mouse, under openbox at 1024 x 768 with the Russian keyboard layout:
# the start bar's "Тестирование..." by Alt+Т, the entry panel by Return, the registration typed
# with Tab between the fields, a training test and a control test answered with Tab, Space and
# Return, the supervisor code, and "Выход" by Alt+Х ending the program with code 0. No mouse event
# is sent. The control test's data file holds one ticked answer for each question.
#   scripts/window-checks/keyboard-only.sh BINARY
set -euo pipefail
bin=$(realpath "${1:?usage: keyboard-only.sh BINARY}")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
xvfb='' app='' wm=''
source "$here/common.bash"
trap stop_all_and_clean EXIT
fail() {
  echo "keyboard-only: $*" >&2
  say_windows_and_last_words "$work/program.log"
  exit 1
}

# The topmost viewable window whose title matches the pattern (a grep -E pattern).
titled() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^=]*= "\(.*\)"$/\1/p' |
      grep -Eq "$1" && echo "$id"
  done | tail -n 1
}
shown() { [ -n "$(titled "$1")" ]; }
gone() { [ -z "$(titled "$1")" ]; }
wait_for() { # PATTERN WHAT
  eventually 30 shown "$1" || fail "$2 did not appear"
}
# Presses KEY until a window titled PATTERN is on view (or, with "gone", until none titled
# PATTERN2 is): the answer button is out of use for 0.7 s after each press, longer on a busy
# machine, and a press it ignored is repeated.
press_until() { # KEY PATTERN WHAT [gone PATTERN2]
  local key=$1 pattern=$2 what=$3 i
  for ((i = 0; i < 30; i++)); do
    xdotool key "$key"
    if [ "$pattern" = gone ]; then eventually 1 gone "$4" && return 0
    else eventually 1 shown "$pattern" && return 0; fi
  done
  fail "$what did not come"
}
alive() { kill -0 "$app" 2>/dev/null || fail "the program ended"; }

start_xvfb 1024 768 "$work"
setxkbmap ru
program_environment "$work"
start_openbox "$work"

# A course of two questions, each with two options worth 50 points: whichever box is ticked, the
# data file says 50 points for it.
course="$work/course"
cp -r "$root/course" "$course"
rm -f "$course/otchet/data1/"* "$course/otchet/print otchet/"*
python3 - "$course/ortu/pdb12.db" <<'PY'
import sys
lines = ["Проверочный тест", ".", ".", "2", "."]
for _ in range(2):
    lines += ["000000       1.Сколько будет два плюс два?", ".", "примечание", ".", "#012.htm", ".",
              "- четыре", ",50", "- четыре", ".50"]
open(sys.argv[1], "wb").write(("\r\n".join(lines) + "\r\n").encode("cp1251"))
PY
(cd "$course" && exec "$bin") >"$work/program.log" 2>&1 &
app=$!

MENU='^Регистрация'
TEST='^(Внимание!|Вопрос +[0-9]+|Результат)( —|$)'
wait_for '^Учебник' "the textbook after the splash"
sleep 1
# The textbook has the keyboard; the start bar's letter works from there.
press_until alt+Cyrillic_te "$MENU" "the menu (Alt+Т on the start bar)"
sleep 0.5
# The entry panel has the focus: Return uncovers the fields and puts the focus in the first.
register_by_keys

# A training test: Alt+Р, "OK" by Return, a box ticked by Tab and Space in each question.
press_until alt+Cyrillic_er "$TEST" "the training screen (Alt+Р)"
press_until Return '^Вопрос +1( —|$)' "training question 1"
xdotool key Tab space; sleep 0.3
press_until Return '^Вопрос +2( —|$)' "training question 2"
xdotool key space; sleep 0.3
press_until Return '^Результат' "the training result"
press_until Return gone "the menu after the training result" "$TEST"
wait_for "$MENU" "the menu after the training test"
alive

# The control test: Alt+К, the same keys, then the supervisor code and Return.
press_until alt+Cyrillic_ka "$TEST" "the control screen (Alt+К)"
press_until Return '^Вопрос 1( —|$)' "control question 1"
xdotool key Tab space; sleep 0.3
press_until Return '^Вопрос 2( —|$)' "control question 2"
xdotool key space; sleep 0.3
press_until Return '^Результат' "the control result"
sleep 0.5
xdotool type --delay 60 "739152"; xdotool key Return
eventually 30 gone "$TEST" || fail "the supervisor code typed and Return did not close the result"
wait_for "$MENU" "the menu after the control test"

# The one data file of the run (its name is the typed name, whose letters a loaded machine may
# drop: the answers are what counts here).
data=$(find "$course/otchet/data1" -name '*.txt' | head -n 1)
[ -n "$data" ] || fail "no data file of the control test"
answers=$(iconv -f CP1251 -t UTF-8 "$data" | tr -d '\r' | grep -c '^Вы ответили: \[[12]\]- (балл за ответ: 50), $' || true)
[ "$answers" = 2 ] || fail "the data file holds $answers answers of one ticked box, not 2"

# "Выход" on the start bar by its letter ends the program.
# (A press before the menu has the keyboard back is repeated.)
for ((i = 0; i < 30; i++)); do
  kill -0 "$app" 2>/dev/null || break
  xdotool key alt+Cyrillic_ha
  eventually 1 sh -c "! kill -0 $app 2>/dev/null" && break
done
kill -0 "$app" 2>/dev/null && fail "the program still runs after Alt+Х"
code=0; wait "$app" || code=$?
app=''
[ "$code" = 0 ] || fail "Alt+Х ended the program with code $code"
echo "keyboard-only: registration, a training test and a control test taken with keys alone"
