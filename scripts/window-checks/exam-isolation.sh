#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# An exam tried from outside as a student would, in real windows, without a window manager and
# under openbox and xfwm4 (each when installed):
#  - the administration and training screens minimised from outside come back by themselves;
#  - a stand-in terminal opened before "Контроль..." and one that appears during the test: after
#    "OK" neither gets a key or a click, whatever is tried (Alt held with Tab twice, Alt+F12,
#    Ctrl+Alt+arrows to another desktop, the desktop's menus on the cover), the late one ends below
#    the cover at once (as does the earlier one when it raises itself), and the question stays the
#    topmost window;
#  - a late window that asks to be full screen does not take the question's place or the keyboard;
#  - a desktop switch asked by another program (as a pager does) is undone: the question stays on
#    view in front, and a window that opens meanwhile gets no key;
#  - "О программе..." opened at the notice "Внимание!" is gone after "OK";
#  - at the result the code field, and a message box of the test while it is open, get the keys.
#   scripts/window-checks/exam-isolation.sh BINARY   (WINDOW_CHECK_DISPLAY=N uses display :N)
set -euo pipefail
bin=$(realpath "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
here="$root/scripts/window-checks"
work=$(mktemp -d)
xvfb='' app='' wm='' term='' late='' full='' other=''
stop() {
  if [ -n "$1" ]; then kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; fi
}
cleanup() {
  local code=$?
  set +e
  stop "$app"; stop "$term"; stop "$late"; stop "$full"; stop "$other"; stop "$wm"; stop "$xvfb"
  rm -rf "$work"
  exit "$code"
}
trap cleanup EXIT
mode=''
fail() {
  echo "exam-isolation ($mode): $*" >&2
  echo "  windows, bottom to top:" >&2
  xwin list 2>/dev/null | sed 's/^/    /' >&2 || true
  shot failed
  if [ -s "$work/program-$mode.log" ]; then
    echo "the program's last words:" >&2
    tail -n 15 "$work/program-$mode.log" >&2
  fi
  exit 1
}
# With SHOTS=DIR the steps are saved as pictures there.
shot() { if [ -n "${SHOTS:-}" ]; then import -window root "$SHOTS/isolation-$mode-$1.png"; fi; }

source "$here/common.bash"
cc -O1 -o "$work/xwin" "$here/xwin.c" -lX11
xwin() { "$work/xwin" "$@"; }
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep "${4:-0.5}"; }
# The title of the topmost viewable window (override-redirect ones aside).
topmost() { xwin list | tail -n 1 | cut -d' ' -f8-; }
topmost_is() { [ "$(topmost)" = "$1" ]; }
topmost_is_a_question() { [[ "$(topmost)" =~ ^Вопрос\ [0-9]+$ ]]; }
# The place of the window titled $1 in the stacking order, bottom 1.
stack_place() { xwin list | awk -v t="$1" '{ s = $0; for (i = 1; i <= 7; ++i) sub(/^[^ ]+ /, "", s) } s == t { print NR }' | tail -n 1; }
below() { local a b; a=$(stack_place "$1") b=$(stack_place "$2"); [ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ]; }
ready() { grep -q '^ready' "$1" 2>/dev/null; }
# Lines of key presses and clicks a stand-in terminal has had.
inputs() { grep -c '^\(key\|click\)' "$1" || true; }
minimised_comes_back() { # WINDOW-ID WHAT
  xdotool windowminimize "$1" 2>/dev/null || true
  shot "minimised-$2"
  sleep 0.5
  eventually 10 viewable "$1" || fail "the minimised $2 did not come back"
}

w=1024 h=768
start_xvfb "$w" "$h" "$work"
setxkbmap ru
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
export XDG_CONFIG_HOME="$work/config" HOME="$work/home"
mkdir -p "$XDG_CONFIG_HOME" "$HOME"
ADMIN="$(printf '%66s' '')Администрирование"
MENU='Регистрация и выбор режима тестирования'

run() {
  mode=$1
  start_window_manager "$mode" "$work/wm.log"
  rm -rf "$work/course"; cp -r "$root/course" "$work/course"
  two_question_file "$work/course/ortu/pdb12.db"                  # the result comes soon
  (cd "$work/course" && exec "$bin") >"$work/program-$mode.log" 2>&1 &
  app=$!
  window 'Учебник' >/dev/null || fail "the textbook did not open after the splash"
  local bar=$(( $(half $w) - 50 + 2 ))
  click $((bar + 8 + 60)) 14 1 1                                  # "Тестирование..."
  local menu mx my mw mh px py
  menu=$(window "$MENU") || fail "the menu did not open"
  read -r mx my mw mh <<<"$(geometry "$menu")"
  px=$(( mx + 18 + $(half $((mw - 38 - 630))) + 11 )) py=$(( my + 18 + $(half $((mh - 38 - 368))) + 10 ))

  # Registration.
  register_candidate "$px" "$py"

  # The administration screen minimised: it comes back, and "Закрыть" still leads on.
  click $((px + 8 + 100)) $((py + 17)) 1 1
  local admin ax ay
  admin=$(window "$ADMIN") || fail "the administration screen did not open"
  minimised_comes_back "$admin" "administration screen"
  read -r ax ay _ _ <<<"$(geometry "$admin")"
  click $((ax + 322 + 48)) $((ay + 309 + 15)) 1 1
  eventually 10 bash -c "! xwininfo -id $admin 2>/dev/null | grep -q IsViewable" ||
    fail "the administration screen did not close after it came back"

  # The training screen minimised on its opening display comes back; closed, it leads back.
  click $((px + 3 + 100)) $((py + 332)) 1 1                       # "Тренировка..."
  local training
  training=$(window 'Внимание!') || fail "the training screen did not open"
  minimised_comes_back "$training" "training screen"
  xwin close "$training"
  menu=$(window "$MENU") || fail "the menu did not come back after the training screen"

  # The terminal a student opened before the exam.
  : >"$work/term.log"
  xwin keys 'Терминал' "$work/term.log" & term=$!
  eventually 20 ready "$work/term.log" || fail "the stand-in terminal did not open"
  click $((px + 209 + 96)) $((py + 332)) 1 2                      # "Контроль..."
  local control cx cy ch
  control=$(window 'Внимание!') || fail "no control screen titled exactly 'Внимание!'"
  # "О программе..." at the notice.
  click $((bar + 148 + 60)) 14 1 1
  local about
  about=$(window 'О программе') || fail "the help did not open at the notice"
  # The student brings the notice back in front, as the window manager allows.
  bring_front() { xdotool windowactivate "$control" 2>/dev/null || true; xdotool windowraise "$control"; topmost_is 'Внимание!'; }
  eventually 10 bring_front || fail "the control screen could not be brought in front of the help"
  read -r cx cy _ ch <<<"$(geometry "$control")"
  click $((cx + 16 + 88)) $((cy + ch - 51 + 10 + 15)) 1 1         # "OK": the first question
  control=$(window 'Вопрос 1') || fail "no control screen titled exactly 'Вопрос 1'"
  shot question
  eventually 10 bash -c "! xwininfo -id $about 2>/dev/null | grep -q IsViewable" ||
    fail "the help opened at the notice stays on view after 'OK'"
  local before
  before=$(inputs "$work/term.log")

  # A window that appears during the test ends below the cover at once.
  : >"$work/late.log"
  xwin keys 'Поздний' "$work/late.log" & late=$!
  eventually 20 ready "$work/late.log" || fail "the late window did not open"
  eventually 10 below 'Поздний' 'Тестирование' || fail "the late window stands above the cover"
  eventually 10 topmost_is 'Вопрос 1' || fail "the question is not the topmost window after the late window"
  shot late

  # A late window that asks to be full screen (a video player, a game started earlier): openbox
  # keeps an active full-screen window above all others, where no raise reaches it. The question
  # takes the keyboard back and stays the topmost window.
  : >"$work/full.log"
  xwin keys 'Полный' "$work/full.log" fullscreen & full=$!
  eventually 20 ready "$work/full.log" || fail "the full-screen window did not open"
  if [ "$mode" = openbox ]; then # the request granted (then taken back)
    eventually 20 grep -q '^fullscreen' "$work/full.log" || fail "openbox kept the late window from full screen"
  fi
  question_in_front() { topmost_is 'Вопрос 1' && focus_titled 'Вопрос 1'; }
  eventually 10 question_in_front ||
    fail "the full-screen window took the question's place (the keyboard's window: $(xwin focus))"
  shot fullscreen

  # The terminal opened before the test raises itself, and asks the window manager to bring it
  # forward as a pager would (a script the student left running): it ends below the cover again.
  local termid
  termid=$(xwin list | awk '{ s = $0; for (i = 1; i <= 7; ++i) sub(/^[^ ]+ /, "", s) } s == "Терминал" { print $1 }')
  [ -n "$termid" ] || fail "the terminal is not on the display"
  xdotool windowraise "$termid"
  eventually 10 below 'Терминал' 'Тестирование' || fail "the terminal that raised itself stands above the cover"
  xdotool windowactivate "$termid" 2>/dev/null || true
  eventually 10 below 'Терминал' 'Тестирование' || fail "the terminal brought forward stands above the cover"
  eventually 10 topmost_is 'Вопрос 1' || fail "the question is not the topmost window after the terminal came forward"

  # A script left running switches the desktop as a pager does (openbox unmapped the question and
  # its cover, and the grab went with them): the test's desktop comes back at once and the
  # question stays in front; a window that opens meanwhile gets none of the keys below.
  local desktop
  desktop=$(xprop -root _NET_CURRENT_DESKTOP 2>/dev/null || true)
  current_desktop_is_the_tests() { [ "$(xprop -root _NET_CURRENT_DESKTOP 2>/dev/null || true)" = "$desktop" ]; }
  : >"$work/other.log"
  xdotool set_desktop 1 2>/dev/null || true
  # Its map request reaches the window manager after the switch, so "ready" comes after it.
  xwin keys 'Другой стол' "$work/other.log" & other=$!
  eventually 20 ready "$work/other.log" || fail "the window opened after the desktop switch did not open"
  eventually 10 current_desktop_is_the_tests ||
    fail "the desktop stays switched: $(xprop -root _NET_CURRENT_DESKTOP 2>/dev/null)"
  eventually 10 viewable "$control" || fail "the question is not on view after the desktop switch"
  eventually 10 topmost_is 'Вопрос 1' || fail "the question is not the topmost window after the desktop switch"
  shot desktop

  # The doors: the window manager's switching, lifting and desktops, and its menus on the cover.
  xdotool keydown alt key Tab; sleep 0.3; xdotool key Tab; sleep 0.3; xdotool keyup alt; sleep 0.5
  xdotool key alt+Tab; sleep 0.5
  xdotool key alt+F12; sleep 0.5
  xdotool key ctrl+alt+Right; sleep 0.5
  xdotool key ctrl+alt+Down; sleep 0.5
  click 5 $((h - 5)) 3 0.7
  click 5 $((h - 5)) 2 0.7
  xdotool key Escape
  click 100 100 1 0.5                                              # where the terminals stand
  # Typed afterwards: a command and Return.
  xdotool key l s Return; sleep 1
  shot tried
  [ "$(inputs "$work/term.log")" = "$before" ] ||
    fail "keys or clicks reached the terminal opened before the test: $(tail -n 3 "$work/term.log" | paste -sd' ')"
  local log
  for log in late full other; do
    [ "$(inputs "$work/$log.log")" = 0 ] ||
      fail "keys or clicks reached the window of $log.log: $(tail -n 3 "$work/$log.log" | paste -sd' ')"
  done
  current_desktop_is_the_tests || fail "the desktop changed during the test"
  # Return answers in a question, so the keys may have moved the test on to its next question.
  eventually 10 topmost_is_a_question || fail "the question is not the topmost window after the keys"
  viewable "$control" || fail "the question is not on view"

  # The result: its code field gets the keys, a message box of the test gets them while it is
  # open (the course's code cannot be read), and only the code ends the test.
  local result=''
  for _ in $(seq 20); do
    click $((cx + 16 + 88)) $((cy + ch - 51 + 10 + 15)) 1 0.8     # "Следующий вопрос"
    result=$(xdotool search --onlyvisible --name '^Результат$' 2>/dev/null | head -n 1) || true
    [ -n "$result" ] && break
  done
  [ -n "$result" ] || fail "the result did not come"
  mkdir "$work/course/supervisor-code.hash"
  xdotool type --delay 60 "739152"; xdotool key Return
  box_open() { xwin list | grep -q ' DIALOG .* Тестирование$'; }
  eventually 20 box_open || fail "no message box about the course's code"
  shot box
  xdotool key Return
  eventually 10 bash -c "! '$work/xwin' list | grep -q ' DIALOG .* Тестирование\$'" ||
    fail "the message box of the test did not get the keyboard"
  rmdir "$work/course/supervisor-code.hash"
  viewable "$result" || fail "the result closed without the code"
  xdotool type --delay 60 "739152"; xdotool key Return
  eventually 20 bash -c "! xwininfo -id $result 2>/dev/null | grep -q IsViewable" ||
    fail "the code field did not get the supervisor code"
  window "$MENU" >/dev/null || fail "the menu did not come back after the code"

  stop "$app"; app=''
  stop "$term"; term=''
  stop "$late"; late=''
  stop "$full"; full=''
  stop "$other"; other=''
  stop "$wm"; wm=''
  echo "exam-isolation ($mode): screens came back, nothing reached other windows, the question stayed in front, the result took its code"
}

# MODES="openbox" runs one of them.
for m in ${MODES:-none openbox xfwm4}; do
  if [ "$m" = none ] || command -v "$m" >/dev/null; then run "$m"; fi
done
