#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# A running control test in real windows, without a window manager and under openbox (and xfwm4
# when installed): a plain cover stands behind the control screen over the whole display, clicks
# on it (right and middle button: a window manager's desktop menus) open no window, a left click
# does not bring it in front of the control screen, and a control screen minimised from outside
# is viewable again at once. The control screen's title is exactly "Вопрос 1".
#   scripts/window-checks/control-cover.sh BINARY      (WINDOW_CHECK_DISPLAY=N uses display :N)
set -euo pipefail
bin=$(realpath "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
xvfb='' app='' wm=''
stop() {
  if [ -n "$1" ]; then kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; fi
}
cleanup() {
  local code=$?
  set +e
  stop "$app"; stop "$wm"; stop "$xvfb"
  rm -rf "$work"
  exit "$code"
}
trap cleanup EXIT
mode=''
fail() {
  echo "control-cover ($mode): $*" >&2
  shot failed
  say_windows_and_last_words "$work/program-$mode.log"
  exit 1
}
# With SHOTS=DIR the steps are saved as pictures there.
shot() { if [ -n "${SHOTS:-}" ]; then import -window root "$SHOTS/$mode-$1.png"; fi; }

source "$root/scripts/window-checks/common.bash"
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 's/.*\(#[0-9A-F]\{6\}\).*/\1/p'; }
colour_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep "${4:-0.5}"; }
# The window has the client size the screen gives itself on its activation.
size_is() { [ "$(geometry "$1" | cut -d' ' -f3,4)" = "$2 $3" ]; }

w=1024 h=768
# The check's X server. All the typing is Russian: with the Russian layout xdotool finds every
# letter on the keyboard instead of remapping a spare key for each one, which a loaded machine can
# overtake (lost letters). A server that went away meanwhile is replaced, twice at most.
start_display() {
  local attempt
  for attempt in 1 2 3; do
    start_xvfb "$w" "$h" "$work"
    setxkbmap ru 2>/dev/null && return 0
    echo "control-cover: the X server at $DISPLAY went away (attempt $attempt)" >&2
    stop "$xvfb"; xvfb=''
  done
  fail "no X server kept answering"
}
start_display
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
export XDG_CONFIG_HOME="$work/config" HOME="$work/home"
mkdir -p "$XDG_CONFIG_HOME" "$HOME"

# The window manager of the round; false (the round is skipped, saying why) when it could not
# start, rather than passing as a round without one.
start_wm() {
  start_window_manager "$mode" "$work/wm.log"
  if [ "$mode" != none ] && [ -z "$wm" ]; then
    echo "control-cover ($mode): skipped, the window manager did not start"
    return 1
  fi
}
# Starts the program on a fresh copy of the course. A program that could not reach the X server,
# which had answered a moment before, is started again on a new one, twice at most, saying so.
start_program() {
  local attempt
  for attempt in 1 2 3; do
    rm -rf "$work/course"; cp -r "$root/course" "$work/course"
    (cd "$work/course" && exec "$bin") >"$work/program-$mode.log" 2>&1 &
    app=$!
    # Until it shows a window of its own or ends, a minute at most.
    local until=$((SECONDS + 60))
    while kill -0 "$app" 2>/dev/null && [ "$SECONDS" -lt "$until" ] &&
      [ -z "$(xdotool search --pid "$app" 2>/dev/null | head -n 1)" ]; do
      sleep 0.2
    done
    kill -0 "$app" 2>/dev/null && return 0
    grep -q 'could not connect to display' "$work/program-$mode.log" || return 0 # `window` says why
    echo "control-cover ($mode): the program could not reach the X server on $DISPLAY (attempt $attempt)" >&2
    wait "$app" 2>/dev/null || true
    app=''
    stop "$wm"; wm=''
    stop "$xvfb"; xvfb=''
    start_display
    start_wm || return 1
  done
}

run() {
  mode=$1
  start_wm || return 0
  start_program || return 0

  # After the splash: "Тестирование..." on the start bar, registration, "Контроль...". A loaded
  # machine may take seconds for any step, so each waits for the state the last one leads to.
  window 'Учебник' >/dev/null || fail "the textbook did not open after the splash"
  window 'Тестирование' >/dev/null || fail "the start bar did not come with the textbook"
  click $(( $(half $w) - 50 + 2 + 8 + 60 )) 14 1 0.3
  local menu mx my mw mh px py
  menu=$(window 'Регистрация и выбор режима тестирования') || fail "the menu did not open"
  eventually 30 size_is "$menu" 924 698 || fail "the menu is $(geometry "$menu"), not 924 x 698"
  read -r mx my mw mh <<<"$(geometry "$menu")"
  px=$(( mx + 18 + $(half $((mw - 38 - 630))) + 11 )) py=$(( my + 18 + $(half $((mh - 38 - 368))) + 10 ))
  register_candidate "$px" "$py"
  click $((px + 209 + 96)) $((py + 320 + 12)) 1 0                 # "Контроль..."
  local control cx cy ch
  control=$(window 'Внимание!') || fail "no control screen titled exactly 'Внимание!'"
  shot control
  eventually 30 size_is "$control" 775 534 || fail "the control screen is $(geometry "$control")"
  read -r cx cy _ ch <<<"$(geometry "$control")"
  click $((cx + 16 + 88)) $((cy + ch - 51 + 10 + 15)) 1 1         # "OK": the first question
  control=$(window 'Вопрос 1') || fail "no control screen titled exactly 'Вопрос 1'"
  shot question

  # The cover: the whole display, its colour around the control screen.
  local cover
  cover=$(window 'Тестирование') || fail "no cover behind the control screen"
  [ "$(geometry "$cover")" = "0 0 $w $h" ] || fail "the cover is $(geometry "$cover"), not the display"
  eventually 10 colour_is 5 $((h - 5)) '#000080' || fail "the desktop shows beside the control screen"
  # Right and middle clicks beside the control screen open no window (no desktop menu).
  local before button
  before=$(mapped)
  for button in 3 2; do
    click 5 $((h - 5)) "$button" 0.7
    shot "button-$button"
    [ "$(mapped)" = "$before" ] || fail "a click of button $button beside the control screen opened a window"
  done
  # A left click on the cover leaves the control screen in front (its bottom bar shows).
  click 5 $((h - 5)) 1
  read -r cx cy _ ch <<<"$(geometry "$control")"
  eventually 10 colour_is $((cx + 700)) $((cy + ch - 6)) '#E3E3E3' ||
    fail "the cover came in front of the control screen"
  # Minimised from outside, the control screen is viewable again at once.
  xdotool windowminimize "$control"; sleep 1
  shot minimised
  eventually 10 viewable "$control" || fail "the minimised control screen did not come back"
  eventually 10 viewable "$cover" || fail "the cover did not come back with the control screen"
  eventually 10 colour_is $((cx + 700)) $((cy + ch - 6)) '#E3E3E3' ||
    fail "the control screen is not in front after its minimisation"

  stop "$app"; app=''
  stop "$wm"; wm=''
  echo "control-cover ($mode): covered, no desktop menu, restored after minimising"
}

# MODES="openbox" runs one of them.
for m in ${MODES:-none openbox xfwm4}; do
  if [ "$m" = none ] || command -v "$m" >/dev/null; then run "$m"; fi
done
