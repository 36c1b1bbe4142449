#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The screens keyboard-only.sh does not walk, with keys alone under openbox at 1024 x 768 with the
# Russian keyboard layout: the textbook (a link by Tab and Return, Alt+Left and Alt+Right, the
# strip's "Печать..." and "Поиск по стр..." reached by Shift+Tab with their focus on view and
# pressed by Space and Return, Ctrl+F and Ctrl+P), the video viewer (its buttons by Tab with the
# focus on view, "Выход" by Return), the help ("О программе..." by Alt+О, Escape back to the
# textbook), the administration (Alt+А, "Закрыть" by Tab and Space, Escape), the credits (Alt+Б,
# Return, Escape, Space), the menu put away by Alt+F4 and "Выход" by Alt+Х. No mouse event is
# sent; every step waits for the state it leads to.
#   scripts/window-checks/keyboard-screens.sh BINARY
set -euo pipefail
bin=$(realpath "${1:?usage: keyboard-screens.sh BINARY}")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
xvfb='' app='' wm=''
source "$here/common.bash"
trap stop_all_and_clean EXIT
fail() {
  echo "keyboard-screens: $*" >&2
  echo "  the keyboard: $(xdotool getwindowfocus getwindowname 2>/dev/null)" >&2
  [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/keyboard-screens-failed.png"
  say_windows_and_last_words "$work/program.log"
  exit 1
}

# The number of viewable windows titled exactly this.
count_titled() { # TITLE
  local id n=0
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    [ "$(xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^=]*= "\(.*\)"$/\1/p')" = "$1" ] &&
      n=$((n + 1))
  done
  echo "$n"
}
count_is() { [ "$(count_titled "$1")" -eq "$2" ]; }
# The keyboard goes to the window titled TITLE (waited for); WHAT names the step.
keyboard_to() { # TITLE WHAT
  eventually 30 focus_titled "$1" || fail "$2: the keyboard did not go to \"$1\""
}
closed() { # TITLE WHAT
  eventually 30 count_is "$1" 0 || fail "$2: \"$1\" did not close"
}
alive() { kill -0 "$app" 2>/dev/null || fail "the program ended"; }
# A fingerprint of a part of the display: a control's look with and without the focus.
area() { import -window root -crop "$3x$4+$1+$2" -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-32; }
area_is_not() { [ "$(area "$1" "$2" "$3" "$4")" != "$5" ]; }
# Presses KEY until a window titled TITLE has the keyboard: a key pressed while the program was
# still busy with the last one (a page loading, a window being made) is pressed again.
press_until_keyboard() { # KEY TITLE WHAT
  local i
  for ((i = 0; i < 20; i++)); do
    xdotool key "$1"
    eventually 2 focus_titled "$2" && return 0
  done
  fail "$3: the keyboard did not go to \"$2\""
}

start_xvfb 1024 768 "$work"
setxkbmap ru
program_environment "$work"
start_openbox "$work"

# A course whose start page holds one link to a page of one video link; each page has a colour
# of its own, looked at in the textbook's browser (50 + 18 .. 974 - 18 wide, from 35 + 18 + 27
# down).
course="$work/course"
cp -r "$root/course" "$course"
page() { # FILE COLOUR BODY
  printf '%s\r\n' '<html><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8">' \
    "<style>body{margin:0;background:$2;font:20px sans-serif;color:white} a{color:white}</style>" \
    "</head><body>$3</body></html>" >"$course/html/$1"
}
page 0000.htm '#654321' '<p><a href="reading.htm">Читать дальше</a></p>'
# shellcheck disable=SC2016 # the "$" is the video link's own
page reading.htm '#123456' '<p><a href="$film03.avi=reading.htm">Видеофрагмент</a></p><p>Хартленд — сердце Евразии.</p>'
colour_is() { screen_colour_is 300 600 "$1"; }
(cd "$course" && exec "$bin") >"$work/program.log" 2>&1 &
app=$!

# --- The textbook ---
keyboard_to 'Учебник' "the textbook after the splash"
eventually 60 colour_is '#654321' || fail "the start page did not appear"
# A fresh page: Tab goes to its one link, Return follows it (a key the page got before it was
# ready is pressed again).
for ((i = 0; i < 20; i++)); do
  xdotool key Tab; sleep 0.2; xdotool key Return
  eventually 3 colour_is '#123456' && break
done
colour_is '#123456' || fail "Tab and Return did not follow the start page's link"
xdotool key alt+Left
eventually 30 colour_is '#654321' || fail "Alt+Left did not go back to the start page"
xdotool key alt+Right
eventually 30 colour_is '#123456' || fail "Alt+Right did not go forward again"

# --- The video viewer: the page's first link by Tab and Return ---
# (Pressed again only after a long wait: from the page's last link Tab goes on to the strip.)
for ((i = 0; i < 3; i++)); do
  xdotool key Tab; sleep 0.2; xdotool key Return
  eventually 15 focus_titled 'Видеофрагмент' && break
done
keyboard_to 'Видеофрагмент' "the video link by Tab and Return"
# The strip (495 x 31 at 32, 727) shows the focus, and Tab moves it: the strip's look changes.
strip=$(area 32 727 495 31)
xdotool key Tab
eventually 10 area_is_not 32 727 495 31 "$strip" || fail "Tab showed no focus on the viewer's strip"
# Shift+Tab back to the first button and once more round to the last, "Выход"; Return leaves.
xdotool key shift+Tab; sleep 0.2; xdotool key shift+Tab; sleep 0.2
xdotool key Return
closed 'Видеофрагмент' "\"Выход\" by Return"
keyboard_to 'Учебник' "the textbook after the viewer"
eventually 30 colour_is '#123456' || fail "the textbook did not come back to the page of the video link"
alive

# --- The textbook's strip: "Печать..." (77 x 20) and "Поиск по стр..." (84 x 20) at its right ---
print_at=(882 58 70 20) find_at=(797 58 80 20)
printing=$(area "${print_at[@]}")
for ((i = 0; i < 10; i++)); do
  xdotool key shift+Tab
  eventually 2 area_is_not "${print_at[@]}" "$printing" && break
done
area_is_not "${print_at[@]}" "$printing" || fail "Shift+Tab did not show the focus on \"Печать...\""
# No printer here: a notice (or, with one, the print dialog), closed by Escape.
notices=$(count_titled 'Тестирование')
xdotool key space
eventually 30 sh -c "[ \$(xdotool search --onlyvisible --name '^(Тестирование|Печать)\$' | wc -l) -gt $notices ]" ||
  fail "Space on \"Печать...\" brought no notice"
sleep 0.3; xdotool key Escape
eventually 30 count_is 'Тестирование' "$notices" || fail "Escape did not close the print notice"
keyboard_to 'Учебник' "the textbook after the print notice"
finding=$(area "${find_at[@]}")
xdotool key shift+Tab
eventually 10 area_is_not "${find_at[@]}" "$finding" || fail "Shift+Tab did not show the focus on \"Поиск по стр...\""
xdotool key Return
keyboard_to 'Поиск' "\"Поиск по стр...\" by Return"
xdotool type --delay 60 "Хартленд"; xdotool key Return
sleep 0.5; xdotool key Escape
closed 'Поиск' "Escape in the search"
keyboard_to 'Учебник' "the textbook after the search"
press_until_keyboard ctrl+f 'Поиск' "Ctrl+F"
xdotool key Escape
closed 'Поиск' "Escape in the search opened by Ctrl+F"
keyboard_to 'Учебник' "the textbook after the second search"
# The textbook has the keyboard for the X server before Qt, which takes an activation a moment
# later, makes it its active window for its shortcuts: on a loaded machine a first Ctrl+P may come
# before that, as a user's quick one would, and a user presses again.
printed=0
for ((i = 0; i < 10; i++)); do
  xdotool key ctrl+p
  if eventually 3 sh -c "[ \$(xdotool search --onlyvisible --name '^(Тестирование|Печать)\$' | wc -l) -gt $notices ]"; then
    printed=1
    break
  fi
done
[ "$printed" = 1 ] || fail "Ctrl+P brought no print notice"
sleep 0.3; xdotool key Return
eventually 30 count_is 'Тестирование' "$notices" || fail "Return did not close the print notice"
keyboard_to 'Учебник' "the textbook after Ctrl+P"
alive

# --- The help: Alt+О, Escape back to the textbook ---
press_until_keyboard alt+Cyrillic_o 'О программе' "the help (Alt+О)"
xdotool key Tab
sleep 0.3
xdotool key Escape
closed 'О программе' "Escape in the help"
keyboard_to 'Учебник' "the textbook after the help"

# --- The menu, the administration and the credits ---
MENU='Регистрация и выбор режима тестирования'
ADMIN="$(printf '%66s' '')Администрирование"
press_until_keyboard alt+Cyrillic_te "$MENU" "the menu (Alt+Т)"
press_until_keyboard alt+Cyrillic_a "$ADMIN" "the administration (Alt+А)"
# Four fields, "Установить", "Закрыть": Tab reaches the last, Space presses it.
xdotool key Tab Tab Tab Tab Tab; sleep 0.3; xdotool key space
closed "$ADMIN" "\"Закрыть\" by Tab and Space"
keyboard_to "$MENU" "the menu after the administration"
press_until_keyboard alt+Cyrillic_a "$ADMIN" "the administration again"
xdotool key Escape
closed "$ADMIN" "Escape in the administration"
keyboard_to "$MENU" "the menu after Escape in the administration"
for key in Return Escape space; do
  press_until_keyboard alt+Cyrillic_be 'Об авторах' "the credits (Alt+Б) for $key"
  sleep 0.3; xdotool key "$key"
  closed 'Об авторах' "$key in the credits"
  keyboard_to "$MENU" "the menu after $key in the credits"
done

# The menu put away as the window system closes it: the textbook again.
xdotool key alt+F4
keyboard_to 'Учебник' "the textbook after Alt+F4 on the menu"
alive

# "Выход" on the start bar by its letter ends the program.
for ((i = 0; i < 30; i++)); do
  kill -0 "$app" 2>/dev/null || break
  xdotool key alt+Cyrillic_ha
  eventually 1 sh -c "! kill -0 $app 2>/dev/null" && break
done
kill -0 "$app" 2>/dev/null && fail "the program still runs after Alt+Х"
code=0; wait "$app" || code=$?
app=''
[ "$code" = 0 ] || fail "Alt+Х ended the program with code $code"
echo "keyboard-screens: textbook, video viewer, help, administration and credits used with keys alone"
