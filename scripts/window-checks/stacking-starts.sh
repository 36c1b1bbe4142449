#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the program again and again at 1920 x 1080 under openbox (STARTS times, 20 unless set)
# and checks the stacking after each splash: the textbook above the full-screen background, the
# start bar above both, and the textbook holding the keyboard. The textbook's window must be made
# once: a window made anew after it was shown (as for the first web contents in a window made
# without OpenGL composition) comes late on a loaded machine and may end below the background.
#   scripts/window-checks/stacking-starts.sh BINARY
set -euo pipefail
bin=$(realpath "${1:?usage: stacking-starts.sh BINARY}")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
xvfb='' app='' wm='' watch=''
source "$here/common.bash"
trap 'stop_process "$watch"; stop_all_and_clean' EXIT
round=0
fail() {
  echo "stacking-starts (start $round): $*" >&2
  echo "the keyboard is in $("$work/xwin" focus); windows, bottom to top:" >&2
  "$work/xwin" list >&2 2>/dev/null || true
  [ -s "$work/program.log" ] && tail -n 10 "$work/program.log" >&2
  [ -s "$work/made.log" ] && { echo "windows made (id width height):" >&2; cat "$work/made.log" >&2; }
  exit 1
}
cc -O1 -o "$work/xwin" "$here/xwin.c" -lX11

start_xvfb 1920 1080 "$work"
program_environment "$work"
start_openbox "$work"

# The program's windows by their place in the stacking (0 at the bottom): the background fills the
# display, the start bar is 389 x 31, the textbook is titled "Учебник...".
positions() {
  "$work/xwin" list | awk '
    { t = $0; for (i = 1; i <= 7; ++i) sub(/^[^ ]+ /, "", t) }
    $4 == 1920 && $5 == 1080 { main = NR } $4 == 389 && $5 == 31 { bar = NR }
    t ~ /^Учебник/ { book = NR; id = $1 }
    END { print main + 0, book + 0, bar + 0, id }'
}
stacked_right() {
  local main book bar id
  read -r main book bar id <<<"$(positions)"
  [ "$main" -gt 0 ] && [ "$book" -gt "$main" ] && [ "$bar" -gt "$book" ] &&
    [ "$("$work/xwin" focus)" = "$id" ]
}
all_shown() {
  local main book bar id
  read -r main book bar id <<<"$(positions)"
  [ "$main" -gt 0 ] && [ "$book" -gt 0 ] && [ "$bar" -gt 0 ]
}

starts=${STARTS:-20}
for ((round = 1; round <= starts; round++)); do
  : >"$work/made.log"
  "$work/xwin" made "$work/made.log" &
  watch=$!
  eventually 30 grep -q '^ready$' "$work/made.log" || fail "the watch on new windows did not start"
  (cd "$root/course" && exec "$bin") >"$work/program.log" 2>&1 &
  app=$!
  for _ in $(seq 600); do
    all_shown && break
    kill -0 "$app" 2>/dev/null || fail "the program ended"
    sleep 0.1
  done
  all_shown || fail "the background, the textbook and the start bar did not all come"
  # Given the time a busy machine needs to settle the stacking, it must come out right.
  eventually 10 stacked_right ||
    fail "not background < textbook < start bar with the keyboard in the textbook"
  read -r _ _ _ book <<<"$(positions)"
  size=$("$work/xwin" list | awk -v id="$book" '$1 == id { print $4, $5 }')
  made=$(grep -c " $size\$" "$work/made.log" || true)
  [ "$made" -eq 1 ] && grep -q "^$book $size\$" "$work/made.log" ||
    fail "the textbook's window ($book, $size) was made $made times"
  stop_process "$watch"; watch=''
  stop_process "$app"; app=''
  eventually 10 sh -c "! '$work/xwin' list | grep -q ' 389 31 '" || fail "the windows stayed"
done
echo "stacking-starts: $starts starts, each with the textbook made once, above the background, and the start bar above both"
