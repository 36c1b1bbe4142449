#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The review's file dialog in real windows: a student opens "Открыть файл отчета..." without
# registering, selects a classmate's data file and presses Delete (and confirms, should anything
# ask). The file must stay as it was. The titles of the screens on the way (textbook, menu,
# administration, review, the dialog) must be exactly their own texts, as the window manager
# shows them (nothing appended).
#   scripts/window-checks/review-dialog.sh BINARY      (WINDOW_CHECK_DISPLAY=N uses display :N)
set -euo pipefail
bin=$(realpath "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
xvfb='' app=''
cleanup() {
  local code=$?
  set +e
  if [ -n "$app" ]; then kill "$app"; wait "$app"; fi 2>/dev/null
  if [ -n "$xvfb" ]; then kill "$xvfb"; wait "$xvfb"; fi 2>/dev/null
  rm -rf "$work"
  exit "$code"
}
trap cleanup EXIT
# With SHOTS=DIR the steps are saved as pictures there.
shot() { if [ -n "${SHOTS:-}" ]; then import -window root "$SHOTS/$1.png"; fi; }
fail() { echo "review-dialog: $*" >&2; exit 1; }

source "$root/scripts/window-checks/common.bash"

w=1024 h=768
start_xvfb "$w" "$h" "$work"

# The program's folder, with a classmate's data file and one of the student's own.
cp -r "$root/course" "$work/course"
data="$work/course/otchet/data1"
printf 'Петров П. П. результат\r\n.\r\n1\r\n.\r\n' >"$data/Петров П. П..txt"
sum=$(md5sum <"$data/Петров П. П..txt")
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
(cd "$work/course" && exec "$bin") >"$work/program.log" 2>&1 &
app=$!

# After the splash: "Тестирование..." on the start bar, then "Просмотр ответов..." on the menu.
window 'Учебник' >/dev/null || fail "the textbook did not open after the splash"
xdotool mousemove $(( $(half $w) - 50 + 2 + 8 + 60 )) 14 click 1
menu=$(window 'Регистрация и выбор режима тестирования') || fail "the menu did not open"
read -r mx my mw mh <<<"$(geometry "$menu")"
px=$(( mx + 18 + $(half $((mw - 38 - 630))) + 11 )) py=$(( my + 18 + $(half $((mh - 38 - 368))) + 10 ))
# The administration screen on the way, titled with its 66 blanks; "Закрыть" closes it.
xdotool mousemove $((px + 8 + 104)) $((py + 5 + 12)) click 1
admin=$(window "$(printf '%66s' '')Администрирование") ||
  fail "no window titled exactly 66 blanks and 'Администрирование'"
read -r ax ay _ _ <<<"$(geometry "$admin")"
xdotool mousemove $((ax + 426 + 48)) $((ay + 309 + 15)) click 1
sleep 0.5
xdotool mousemove $((px + 407 + 100)) $((py + 320 + 12)) click 1
review=$(window 'Результаты теста') || fail "no window titled exactly 'Результаты теста'"
read -r rx ry _ rh <<<"$(geometry "$review")"
xdotool mousemove $((rx + 105 + 108)) $((ry + rh - 33 + 4 + 12)) click 1  # "Открыть файл отчета..."
window 'Открытие файла' >/dev/null || fail "no window titled exactly 'Открытие файла'"

# From the file name field back to the list, the first file (the classmate's), Delete, and a
# "yes" to any question; then the context menu's Delete with the keyboard.
sleep 0.5
shot dialog
xdotool key --clearmodifiers shift+Tab; sleep 0.2; xdotool key Down ctrl+space; sleep 0.3; shot selected; xdotool key Delete; sleep 0.5
shot delete
xdotool key alt+y; sleep 0.5
shot confirmed
xdotool key --clearmodifiers shift+F10; sleep 0.3
shot menu
xdotool key Down Down Return; sleep 0.3
xdotool key alt+y; sleep 0.5
shot end
[ -f "$data/Петров П. П..txt" ] || fail "the classmate's file was deleted"
[ "$(md5sum <"$data/Петров П. П..txt")" = "$sum" ] || fail "the classmate's file was changed"
kill -0 "$app" 2>/dev/null || fail "the program ended"
echo "review-dialog: the classmate's file stayed; titles exact"
