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
  # The windows on view tell what stood in front.
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "  on view: $(xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^=]*= //p')" >&2
  done
  shot failed
  if [ -s "$work/program-$mode.log" ]; then
    echo "the program's last words:" >&2
    tail -n 15 "$work/program-$mode.log" >&2
  fi
  exit 1
}
# With SHOTS=DIR the steps are saved as pictures there.
shot() { if [ -n "${SHOTS:-}" ]; then import -window root "$SHOTS/$mode-$1.png"; fi; }

source "$root/scripts/window-checks/common.bash"
# The viewable windows directly below the root, as the window system stacks them.
mapped() {
  xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p' | while read -r id; do
    if viewable "$id"; then echo "$id"; fi
  done | sort
}
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 's/.*\(#[0-9A-F]\{6\}\).*/\1/p'; }
more_mapped_than() { [ "$(mapped | wc -l)" -gt "$1" ]; }
colour_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep "${4:-0.5}"; }

w=1024 h=768
start_xvfb "$w" "$h" "$work"
# All the typing is Russian: with the Russian layout xdotool finds every letter on the keyboard
# instead of remapping a spare key for each one, which a loaded machine can overtake (lost letters).
setxkbmap ru
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
export XDG_CONFIG_HOME="$work/config" HOME="$work/home"
mkdir -p "$XDG_CONFIG_HOME" "$HOME"

run() {
  mode=$1
  case "$mode" in
    openbox) openbox --sm-disable >"$work/wm.log" 2>&1 & wm=$! ;;
    xfwm4) xfwm4 --compositor=off --sm-client-disable >"$work/wm.log" 2>&1 & wm=$! ;;
  esac
  if [ -n "$wm" ]; then
    for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
    sleep 0.5
  fi
  rm -rf "$work/course"; cp -r "$root/course" "$work/course"
  (cd "$work/course" && exec "$bin") >"$work/program-$mode.log" 2>&1 &
  app=$!

  # After the splash: "Тестирование..." on the start bar, registration, "Контроль...".
  window 'Учебник' >/dev/null || fail "the textbook did not open after the splash"
  click $(( $(half $w) - 50 + 2 + 8 + 60 )) 14 1 1
  local menu mx my mw mh px py
  menu=$(window 'Регистрация и выбор режима тестирования') || fail "the menu did not open"
  read -r mx my mw mh <<<"$(geometry "$menu")"
  px=$(( mx + 18 + $(half $((mw - 38 - 630))) + 11 )) py=$(( my + 18 + $(half $((mh - 38 - 368))) + 10 ))
  click $((px + 4 + 302)) $((py + 229 + 44)) 1 1                  # entry panel
  click $((px + 4 + 104 + 150)) $((py + 229 + 8 + 12)) 1 1.5      # Edit1
  xdotool type --delay 60 "Петров А. В."
  click $((px + 4 + 473 + 60)) $((py + 229 + 8 + 12)) 1 1.5       # Edit5
  xdotool type --delay 60 "ФК-21"
  click $((px + 4 + 128 + 80)) $((py + 229 + 48 + 9)) 1 1.5       # ComboBox1
  xdotool type --delay 60 "Плавание"
  local shown
  shown=$(mapped | wc -l)
  click $((px + 4 + 431 + 78)) $((py + 229 + 45 + 10)) 1 0        # ComboBox2 drops down
  eventually 10 more_mapped_than "$shown" || fail "the qualification list did not drop down"
  xdotool key Down Down Down Return; sleep 0.5
  click $((px + 209 + 96)) $((py + 320 + 12)) 1 2                 # "Контроль..."
  local control cx cy ch
  shot control
  control=$(window 'Внимание!') || fail "no control screen titled exactly 'Внимание!'"
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
