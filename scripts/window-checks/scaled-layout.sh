#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The program at 1920 x 1080 scaled to 200 % (QT_SCALE_FACTOR=2) under openbox, driven with keys:
# the textbook after the splash, the menu, the training screen and its first question each stand
# whole on the display, the textbook and the menu leave the start bar free, and the start bar
# stays above every other window of the program.
#   scripts/window-checks/scaled-layout.sh BINARY
set -euo pipefail
bin=$(realpath "${1:?usage: scaled-layout.sh BINARY}")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
xvfb='' app='' wm=''
source "$here/common.bash"
trap stop_all_and_clean EXIT
step=start
fail() {
  echo "scaled-layout ($step): $*" >&2
  echo "windows, bottom to top:" >&2
  "$work/xwin" list >&2 2>/dev/null || true
  [ -s "$work/program.log" ] && tail -n 10 "$work/program.log" >&2
  exit 1
}
cc -O1 -o "$work/xwin" "$here/xwin.c" -lX11

W=1920 H=1080
start_xvfb "$W" "$H" "$work"
setxkbmap ru
program_environment "$work"
start_openbox "$work"
(cd "$root/course" && QT_SCALE_FACTOR=2 exec "$bin") >"$work/program.log" 2>&1 &
app=$!

# "id x y width height" of the topmost window on view whose title matches.
find_win() {
  "$work/xwin" list | awk -v re="$1" '{ t = $0; for (i = 1; i <= 7; ++i) sub(/^[^ ]+ /, "", t) }
    t ~ re { w = $1 " " $2 " " $3 " " $4 " " $5 } END { if (w != "") print w }'
}
shown() { [ -n "$(find_win "$1")" ]; }
press_until() { # KEY PATTERN
  local i
  for ((i = 0; i < 30; i++)); do
    xdotool key "$1"
    eventually 1 shown "$2" && return 0
  done
  fail "'$1' did not bring a window titled $2"
}
bar() { "$work/xwin" list | awk '$NF == "Тестирование" && $6 == "UTILITY" { print $1, $2, $3, $4, $5 }'; }
# The window stands whole on the display; its frame's title bar counts above it.
whole() { # TITLE-PATTERN
  local id x y w h
  read -r id x y w h <<<"$(find_win "$1")"
  [ -n "$id" ] || fail "no window titled $1"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$W" ] && [ $((y + h)) -le "$H" ] ||
    fail "$1 at $x,$y ${w}x$h does not stand whole on the ${W}x$H display"
}
bar_on_top() {
  local b; b=$(bar | cut -d' ' -f1)
  [ -n "$b" ] && [ "$("$work/xwin" list | tail -n 1 | cut -d' ' -f1)" = "$b" ]
}
clear_of_bar() { # TITLE-PATTERN: the window does not reach into the start bar's strip
  local id x y w h bx by bw bh
  read -r id x y w h <<<"$(find_win "$1")"
  read -r _ bx by bw bh <<<"$(bar)"
  [ $((y)) -ge $((by + bh)) ] || [ $((x + w)) -le "$bx" ] || [ "$x" -ge $((bx + bw)) ] ||
    fail "$1 at $x,$y ${w}x$h reaches into the start bar at $bx,$by ${bw}x$bh"
}
check() { # TITLE-PATTERN [clear]
  whole "$1"
  [ "${2:-}" = clear ] && clear_of_bar "$1"
  eventually 10 bar_on_top || fail "the start bar is not above $1"
}

step=textbook
for _ in $(seq 600); do shown '^Учебник' && [ -n "$(bar)" ] && break; sleep 0.1; done
shown '^Учебник' || fail "no textbook after the splash"
check '^Учебник' clear
step=menu
press_until alt+Cyrillic_te '^Регистрация'
check '^Регистрация' clear
register_by_keys
step=training
press_until alt+Cyrillic_er '^Внимание!'
check '^Внимание!'
step=question
press_until Return '^Вопрос'
check '^Вопрос'
echo "scaled-layout: textbook, menu and training screen whole at 200 % on ${W}x$H, the start bar free and on top"
