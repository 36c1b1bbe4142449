#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Walks the real program through real windows as a lab uses it, once without a window manager and
# once under openbox: registration, the crash path of a bad setting, a short training test, a
# control test with answers chosen here on a question file of this walk's own (its two result files
# compared with files written out by hand), the review of the data file, every closable screen
# closed the way a desktop closes windows (WM_DELETE_WINDOW, Alt+F4 under openbox), message boxes
# standing above every screen with the keyboard, and "Выход" ending the program with code 0.
#   scripts/window-checks/walk.sh BINARY        (WALK_DISPLAY=N uses display :N, N+1)
set -euo pipefail
bin=$(realpath "${1:?usage: walk.sh BINARY}")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  [ -n "${WALK_KEEP:-}" ] && echo "kept $work" >&2 || rm -rf "$work"
}
trap cleanup EXIT

cc -O1 -o "$work/xwin" "$here/xwin.c" -lX11
xwin() { "$work/xwin" "$@"; }

mode=setup
fail() {
  echo "walk ($mode): $*" >&2
  echo "windows, bottom to top:" >&2
  xwin list >&2 2>/dev/null || true
  if [ -s "$work/$mode.log" ]; then
    echo "the program's last words (DISPLAY=$DISPLAY):" >&2
    tail -n 15 "$work/$mode.log" >&2
  fi
  [ -n "${WALK_KEEP:-}" ] && import -window root "$work/failed-$mode.png" 2>/dev/null || true
  exit 1
}
source "$root/scripts/window-checks/common.bash"
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.4}"; }

# The viewable window whose title matches the pattern (the topmost one): "id x y w h".
find_win() { xwin list | awk -v re="$1" '{ t = $0; for (i = 1; i <= 7; ++i) sub(/^[^ ]+ /, "", t) } t ~ re { w = $1 " " $2 " " $3 " " $4 " " $5 } END { if (w != "") print w }'; }
wait_win() {
  local pattern=$1 what=$2 w
  for _ in $(seq 300); do
    w=$(find_win "$pattern"); [ -n "$w" ] && { echo "$w"; return 0; }
    kill -0 "$app" 2>/dev/null || fail "the program ended while waiting for $what"
    sleep 0.1
  done
  fail "$what did not appear"
}
wait_gone() {
  for _ in $(seq 300); do [ -z "$(find_win "$1")" ] && return 0; sleep 0.1; done
  fail "$2 did not go away"
}
# Position of a window's id in the stacking order (0 at the bottom).
stack_pos() { xwin list | awk -v id="$1" '$1 == id { print NR - 1 }'; }
topmost() { xwin list | tail -n 1 | cut -d' ' -f1; }

# Closes a window the way the desktop does: Alt+F4 under openbox when it has the keyboard,
# otherwise WM_DELETE_WINDOW sent straight to it. Openbox closes the window it holds active,
# which follows the keyboard a moment later: the key waits (up to 2 s) until both agree.
active_is() { [ "$(printf '0x%x' "$(xdotool getactivewindow 2>/dev/null || echo 0)")" = "$1" ]; }
wm_close() {
  if [ "$mode" = openbox ] && [ "$(xwin focus)" = "$1" ] && eventually 2 active_is "$1"; then
    xdotool key alt+F4
  else
    xwin close "$1"
  fi
  sleep 0.6
}

MENU='^Регистрация'
TEXTBOOK='^Учебник'
HELP='^О программе'
CREDITS='^Об авторах'
ADMIN='Администрирование'
TRAINING='^(Внимание!|Вопрос +[0-9]+|Результат)( —|$)'
REVIEW='^Результаты теста'
BOX_KIND=DIALOG

main_screen() { xwin list | awk '$4 > 1000 && $5 > 700 { w = $1 } END { print w }'; }
bar_id() { xwin list | awk '$4 == 389 && $5 == 31 { print $1 }'; }
# An open message box: a dialog with the program's name as its whole title.
box_id() { xwin list | awk -v kind="$BOX_KIND" '$6 == kind { t = $0; for (i = 1; i <= 7; ++i) sub(/^[^ ]+ /, "", t); if (t == "Тестирование") w = $1 } END { print w }'; }
wait_box() {
  local b
  for _ in $(seq 300); do b=$(box_id); [ -n "$b" ] && { echo "$b"; return 0; }; sleep 0.1; done
  fail "$1: no message box appeared"
}
no_box() { [ -z "$(box_id)" ] || fail "$1: an unexpected message box is open"; }
# A message box stands above every window of the program and has the keyboard.
box_on_top() {
  local b=$1
  [ "$(topmost)" = "$b" ] || fail "$2: the message box is not the topmost window"
  [ "$(xwin focus)" = "$b" ] || fail "$2: the message box does not have the keyboard"
}

bar_buttons() {
  local w
  for _ in $(seq 200); do
    w=$(xwin list | awk '$4 == 389 && $5 == 31 { print $2 }'); [ -n "$w" ] && break
    kill -0 "$app" 2>/dev/null || fail "the program ended before the start bar appeared"
    sleep 0.1
  done
  [ -n "$w" ] || fail "the start bar did not appear"
  bx=$w
  TESTING_X=$((bx + 2 + 8 + 60)) ABOUT_X=$((bx + 2 + 148 + 60)) EXIT_X=$((bx + 2 + 283 + 40)) BAR_Y=14
}
testing() { click "$TESTING_X" "$BAR_Y" "${1:-1}"; }
menu_geometry() {
  local w mx my mw mh; w=$(wait_win "$MENU" "the menu")
  read -r MENU_ID mx my mw mh <<<"$w"
  px=$((mx + 18 + $(half $((mw - 38 - 630))) + 11)) py=$((my + 18 + $(half $((mh - 38 - 368))) + 10))
}
set_admin() { # training count, training seconds, control count, control seconds
  menu_geometry
  click $((px + 8 + 100)) $((py + 17)) 0.3
  local w ax ay; w=$(wait_win "$ADMIN" "the administration screen")
  read -r _ ax ay _ _ <<<"$w"
  local tops=(171 196 245 270) values=("$@")
  for i in 0 1 2 3; do
    click $((ax + 478 + 20)) $((ay + ${tops[$i]} + 10)) 0.2
    xdotool key ctrl+a; xdotool type --delay 10 "${values[$i]}"
  done
  click $((ax + 322 + 48)) $((ay + 309 + 15)) 0.2                    # "Установить"
  wait_gone "$ADMIN" "the administration screen"
}
training_button() { menu_geometry; click $((px + 3 + 100)) $((py + 332)) "${1:-0.3}"; }
control_button() { menu_geometry; click $((px + 209 + 96)) $((py + 332)) "${1:-0.3}"; }
test_screen() { TEST_ID=$(wait_win "$TRAINING" "the test screen" | cut -d' ' -f1); }
# The answer button of the training or control screen.
answer_button() {
  local w x y width height; w=$(wait_win "$TRAINING" "the test screen")
  read -r TEST_ID x y width height <<<"$w"
  if [ "$width" = 782 ]; then click $((x + 16 + 66)) $((y + 536 - 45 + 9 + 12)) "${1:-0.9}"
  else click $((x + 16 + 88)) $((y + 534 - 51 + 10 + 15)) "${1:-0.9}"; fi
}
# True when the first window (by title) stands above the second.
above() {
  local a b; a=$(find_win "$1" | cut -d' ' -f1); b=$(find_win "$2" | cut -d' ' -f1)
  [ -n "$a" ] && [ -n "$b" ] && [ "$(stack_pos "$a")" -gt "$(stack_pos "$b")" ]
}
wait_above() {
  for _ in $(seq 300); do above "$1" "$2" && return 0; sleep 0.1; done
  fail "$3"
}
# Presses the answer button until a window whose title matches appears (or, with "gone", until the
# test screen has gone): the button is out of use for 0.7 seconds after each press, longer on a busy
# machine, and a press it ignored is repeated.
press_until() {
  local pattern=$1 what=$2
  for _ in $(seq 15); do
    answer_button 0
    for _ in $(seq 10); do
      if [ "$pattern" = gone ]; then [ -z "$(find_win "$TRAINING")" ] && return 0
      else [ -n "$(find_win "$pattern")" ] && return 0; fi
      sleep 0.1
    done
  done
  fail "$what did not come"
}
menu_comes_back() {
  wait_win "$MENU" "the menu after $1" >/dev/null
  # The start bar leads to the menu again (and nowhere else): away to the help and back.
  click "$ABOUT_X" "$BAR_Y" 0.2
  wait_above "$HELP" "$MENU" "the help did not come in front of the menu after $1"
  testing 0.2
  wait_gone "$HELP" "the help (after 'Тестирование...')"
  wait_win "$MENU" "the menu through 'Тестирование...' after $1" >/dev/null
}

write_course() {
  local course=$1
  cp -r "$root/course/." "$course/"
  rm -f "$course/otchet/data1/"* "$course/otchet/print otchet/"*
  # Two questions alike, each with two options worth 50 points: the draw and the shuffle of the
  # options cannot change what the result files say about the answers chosen below.
  two_question_file "$course/ortu/pdb12.db"
}

# The result files, written out by hand for: a control test closed by the window system before
# its start (the report keeps the header of that attempt), then one with question 1 answered by
# the first box (50 points) and question 2 by both (100 points). A question is written without the
# first 6 characters of its block, an option without the first 2 of its own ("- "), each joined
# line followed by a blank. "DATE TIME" stands for the moment.
expected_report() {
  local registration='ФИО: Petrov A. V.,  группа: FK-21,  специализация: Plavanie,  квалификация: МС,  тест: ИТОГОВОЕ ТЕСТИРОВАНИЕ'
  cat <<EOF
=======================================================
DATE  TIME
$registration
          Ваши результаты:
=======================================================
DATE  TIME
$registration
          Ваши результаты:
  Вопрос 1
       1.Сколько будет два плюс два? 
Вы ответили: [1]- (балл за ответ: 50), 
Правильный ответ: [1]- (балл за ответ: 50), [2]- (балл за ответ: 50), 
Набрано баллов за ответ: 50
  Вопрос 2
       1.Сколько будет два плюс два? 
Вы ответили: [1]- (балл за ответ: 50), [2]- (балл за ответ: 50), 
Правильный ответ: [1]- (балл за ответ: 50), [2]- (балл за ответ: 50), 
Набрано баллов за ответ: 100
--------
Задано вопросов: 2,  набрано баллов: 150 из 200 возможных,  это составляет 75.0%
=======================================================
EOF
}
expected_data() {
  local question='       1.Сколько будет два плюс два? '
  cat <<EOF
DATE TIME  Petrov A. V.,  группа: FK-21,  специализация: Plavanie,  МС,  тест: ИТОГОВОЕ ТЕСТИРОВАНИЕ
.
2
.
Вопрос 1
.
$question
.
четыре 
,
четыре 
.
Вы ответили: [1]- (балл за ответ: 50), 
#
Правильный ответ: [1]- (балл за ответ: 50), [2]- (балл за ответ: 50), 
&
Набрано баллов за ответ: 50
\$
Вопрос 2
.
$question
.
четыре 
,
четыре 
.
Вы ответили: [1]- (балл за ответ: 50), [2]- (балл за ответ: 50), 
#
Правильный ответ: [1]- (балл за ответ: 50), [2]- (балл за ответ: 50), 
&
Набрано баллов за ответ: 100
\$
, задано вопросов: 2,  набрано баллов: 150 из 200 возможных  это составляет 75.0%
@
EOF
}
# A result file as text: Windows-1251 with CR LF on every line, the moment replaced.
as_text() {
  local file=$1 lines crlf
  [ -f "$file" ] || fail "missing result file $file"
  lines=$(wc -l <"$file"); crlf=$(grep -c $'\r$' "$file" || true)
  [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] || fail "$file: not every line ends with CR LF"
  iconv -f CP1251 -t UTF-8 "$file" | tr -d '\r' |
    sed -E 's/^[0-9]{2}\.[0-9]{2}\.[0-9]{4}( {1,2})[0-9]{1,2}:[0-9]{2}:[0-9]{2}/DATE\1TIME/'
}
compare_results() {
  local course=$1 name='Petrov A. V.'
  diff -u <(expected_report) <(as_text "$course/otchet/print otchet/$name.txt") >&2 ||
    fail "the printable report differs from the one written by hand"
  diff -u <(expected_data) <(as_text "$course/otchet/data1/$name.txt") >&2 ||
    fail "the data file differs from the one written by hand"
}

# Starts the walk's X server (on display $1, or on a free one) and waits until it answers; an
# X server that does not answer within 15 s is stopped and started again, twice at most, and its
# own words are shown if none ever answers.
start_x() {
  local attempt display xvfb
  for attempt in 1 2 3; do
    if [ -n "$1" ]; then
      display=$1
      Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
      xvfb=$!
    else
      : >"$work/display"
      Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
      xvfb=$!
      for _ in $(seq 150); do [ -s "$work/display" ] && break; sleep 0.1; done
      display=$(head -n 1 "$work/display")
    fi
    export DISPLAY=":$display"
    for _ in $(seq 150); do xwin list >/dev/null 2>&1 && break; sleep 0.1; done
    if [ -n "$display" ] && xwin list >/dev/null 2>&1; then
      pids+=("$xvfb")
      return 0
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    echo "walk ($mode): the X server on :$display did not answer (attempt $attempt)" >&2
  done
  cat "$work/xvfb.log" >&2
  fail "no X server answered"
}

# Starts the program on the walk's X server. A program that could not reach the X server (which
# answered the walk a moment before) is started again on a new X server, twice at most; what the
# display looked like then is shown.
start_program() {
  local course=$1 display=$2 attempt
  for attempt in 1 2 3; do
    (cd "$course" && QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 QTWEBENGINE_DISABLE_SANDBOX=1 \
       QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox" exec "$bin") >"$work/$mode.log" 2>&1 &
    app=$!
    pids+=($app)
    for _ in $(seq 20); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$app" 2>/dev/null && return 0
    grep -q 'could not connect to display' "$work/$mode.log" || return 0 # bar_buttons says why
    {
      echo "walk ($mode): the program could not reach the X server on $DISPLAY (attempt $attempt)"
      ls -la /tmp/.X11-unix 2>&1
      pgrep -a Xvfb 2>&1
      xwin list >/dev/null 2>&1 && echo "the X server answers the walk" || echo "the X server does not answer"
    } >&2
    [ "$attempt" = 3 ] || start_display "$display"
  done
}

# The walk's X server, with openbox on it in that mode.
start_display() {
  start_x "$1"
  if [ "$mode" = openbox ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 300); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
    BOX_KIND=DIALOG
  fi
}

walk() {
  mode=$1
  local display=$2 course="$work/course-$1"
  mkdir -p "$course"
  write_course "$course"

  start_display "$display"
  start_program "$course" "$display"

  # The splash hands over to the start bar and the textbook.
  bar_buttons
  wait_win "$TEXTBOOK" "the textbook" >/dev/null
  sleep 1.5
  local main textbook; main=$(main_screen); textbook=$(find_win "$TEXTBOOK" | cut -d' ' -f1)
  [ -n "$main" ] || fail "no main screen"

  # A click on the bare background brings the main screen and its splash picture in front of the
  # textbook (the start bar stays in front); a second click gives the front back.
  click 20 400 1
  main=$(main_screen); textbook=$(find_win "$TEXTBOOK" | cut -d' ' -f1)
  [ "$(stack_pos "$main")" -gt "$(stack_pos "$textbook")" ] || fail "the background click left the main screen behind the textbook"
  [ "$(stack_pos "$(bar_id)")" -gt "$(stack_pos "$main")" ] || fail "the start bar went behind the main screen"
  click 20 400 1
  main=$(main_screen); textbook=$(find_win "$TEXTBOOK" | cut -d' ' -f1)
  [ "$(stack_pos "$textbook")" -gt "$(stack_pos "$main")" ] || fail "the second background click did not bring the textbook back"

  # The window system cannot close the start bar nor the textbook.
  wm_close "$(bar_id)"; wm_close "$textbook"
  [ -n "$(bar_id)" ] || fail "the start bar was closed"
  wait_win "$TEXTBOOK" "the textbook after its close" >/dev/null

  # The menu closed by the window system gives way to the textbook; the start bar brings it back.
  testing 0.3
  menu_geometry
  wm_close "$MENU_ID"
  wait_gone "$MENU" "the menu"
  wait_win "$TEXTBOOK" "the textbook after the menu's close" >/dev/null
  testing 0.3
  menu_geometry

  # The administration screen closed by the window system as by "Закрыть"; then a bad setting.
  click $((px + 8 + 100)) $((py + 17)) 0.3
  local admin; admin=$(wait_win "$ADMIN" "the administration screen" | cut -d' ' -f1)
  wm_close "$admin"
  wait_gone "$ADMIN" "the administration screen"
  wait_win "$MENU" "the menu after the administration screen" >/dev/null
  set_admin abc 900 2 60

  # Registration (typed in Latin letters: a keyboard that has to remap keys for Cyrillic letters
  # loses some of them under xdotool; the files' own Cyrillic texts still check the code page).
  menu_geometry
  click $((px + 4 + 302)) $((py + 229 + 44)) 0.8                       # entry panel
  click $((px + 4 + 104 + 150)) $((py + 229 + 8 + 12)) 0.2             # Edit1
  xdotool type --delay 30 "Petrov A. V."
  click $((px + 4 + 473 + 60)) $((py + 229 + 8 + 12)) 0.2              # Edit5
  xdotool type --delay 30 "FK-21"
  click $((px + 4 + 128 + 80)) $((py + 229 + 48 + 9)) 0.2              # ComboBox1
  xdotool type --delay 30 "Plavanie"
  click $((px + 4 + 431 + 78)) $((py + 229 + 45 + 10)) 0.8             # ComboBox2 drops down
  xdotool key Down Down Down Return; sleep 0.4

  # The bad setting: the message stands above the always-on-top training screen with the
  # keyboard (also after the screen's delayed raise); closed from the keyboard, then the
  # training screen's "OK" leads back to the menu, and the program lives on. Three times.
  local box
  for round in 1 2 3; do
    training_button 0.2
    box=$(wait_box "training screen with a bad setting")
    sleep 0.6
    box_on_top "$box" "training screen with a bad setting"
    xdotool key Return
    answer_button 0.1
    wait_gone "$TRAINING" "the training screen that refused its test"
    sleep 1
    kill -0 "$app" 2>/dev/null || fail "the program died after leaving a refused training test (round $round)"
    wait_win "$MENU" "the menu after a refused training test" >/dev/null
    no_box "after a refused training test"
  done
  set_admin 2 900 2 60

  # The training screen closed by the window system on its opening display: the menu comes back
  # and the start bar leads to it.
  training_button
  test_screen
  wm_close "$TEST_ID"
  wait_gone "$TRAINING" "the training screen"
  menu_comes_back "the training screen's close"

  # A short training test.
  training_button
  press_until '^Вопрос +1( —|$)' "training question 1"                 # "OK"
  xdotool key Tab space; sleep 0.2
  press_until '^Вопрос +2( —|$)' "training question 2"
  press_until '^Результат' "the training result"
  press_until gone "the menu after the training result"                # "OK"
  wait_win "$MENU" "the menu after the training test" >/dev/null

  # Closed by the window system in the middle of a test: the menu comes back, the start bar's
  # buttons work again.
  training_button
  press_until '^Вопрос +1( —|$)' "training question 1"
  wm_close "$TEST_ID"
  wait_gone "$TRAINING" "the training screen"
  menu_comes_back "the training screen's close during a test"

  # The help screen closed by the window system gives way to the textbook.
  click "$ABOUT_X" "$BAR_Y" 0.3
  local help; help=$(wait_win "$HELP" "the help screen" | cut -d' ' -f1)
  wm_close "$help"
  wait_gone "$HELP" "the help screen"
  wait_win "$TEXTBOOK" "the textbook after the help's close" >/dev/null
  testing 0.3

  # The control screen closed by the window system before its start: back to the menu.
  control_button
  test_screen
  wm_close "$TEST_ID"
  wait_gone "$TRAINING" "the control screen"
  wait_win "$MENU" "the menu after the control screen's close" >/dev/null

  # The control test: question 1 answered by the first box, question 2 by both. The window
  # system cannot end it.
  control_button
  press_until '^Вопрос 1( —|$)' "control question 1"                    # "OK"
  wm_close "$TEST_ID"
  [ -n "$(find_win "$TRAINING")" ] || fail "the running control test was closed"
  xdotool key Tab space; sleep 0.2
  press_until '^Вопрос 2( —|$)' "control question 2"
  xdotool key Tab space Tab space; sleep 0.2
  press_until '^Результат' "the control result"
  wm_close "$TEST_ID"
  [ -n "$(find_win '^Результат')" ] || fail "the control result was closed"
  xdotool type --delay 20 "739152"; xdotool key Return; sleep 1
  wait_gone "$TRAINING" "the control screen"
  menu_geometry
  compare_results "$course"

  # The review of that data file; closed by the window system as by "Закрыть".
  click $((px + 407 + 100)) $((py + 332)) 0.3
  local rw rid rx ry; rw=$(wait_win "$REVIEW" "the review screen")
  read -r rid rx ry _ _ <<<"$rw"
  click $((rx + 105 + 108)) $((ry + 536 - 33 + 4 + 12)) 0.3           # "Открыть файл отчета..."
  wait_win '^Открытие файла' "the file dialog" >/dev/null
  sleep 0.5
  xdotool type --delay 30 "Petrov A. V..txt"; xdotool key Return
  wait_gone '^Открытие файла' "the file dialog"
  sleep 0.5
  no_box "the review of the data file"
  [ -n "$(find_win "$REVIEW")" ] || fail "no review screen after opening the file"
  wm_close "$rid"
  wait_gone "$REVIEW" "the review screen"
  menu_comes_back "the review screen's close"

  # The credits closed by the window system: the menu comes back.
  menu_geometry
  click $((px + 224 + 96)) $((py + 17)) 0.3
  local credits; credits=$(wait_win "$CREDITS" "the credits" | cut -d' ' -f1)
  wm_close "$credits"
  wait_gone "$CREDITS" "the credits"
  wait_win "$MENU" "the menu after the credits' close" >/dev/null

  # "Выход" ends the program with code 0.
  click "$EXIT_X" "$BAR_Y" 0.5
  local code=0
  for _ in $(seq 300); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "the program is still running after 'Выход'"
  wait "$app" || code=$?
  [ "$code" = 0 ] || fail "'Выход' ended the program with code $code"

  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  pids=()
  echo "walk ($mode): passed"
}

start=$SECONDS
walk none "${WALK_DISPLAY:-}"
walk openbox "${WALK_DISPLAY:+$((WALK_DISPLAY + 1))}"
echo "walk: both runs passed in $((SECONDS - start)) s"
