#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader gets: the program on its own X display and session bus with the
# accessibility bus (at-spi2-core), read through AT-SPI (python3-pyatspi) by
# screen-reader-tree.py: the textbook's page, the start bar, the menu, its fields and a training
# question with its tick boxes, clock and the verdict's announcement. Fails on any unnamed button,
# tick box, field or list on view.
#   scripts/window-checks/screen-reader.sh BINARY
set -euo pipefail
bin=$(realpath "${1:?usage: screen-reader.sh BINARY}")
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${SCREEN_READER_SESSION:-}" ]; then
  # A session bus of its own, ended with the check.
  SCREEN_READER_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
xvfb='' app='' wm='' bus=''
source "$here/common.bash"
trap stop_all_and_clean EXIT
fail() {
  echo "screen-reader: $*" >&2
  [ -s "$work/program.log" ] && tail -n 15 "$work/program.log" >&2
  exit 1
}

start_xvfb 1024 768 "$work"
setxkbmap ru
program_environment "$work"
start_openbox "$work"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
bus=$!
eventually 10 sh -c 'xprop -root AT_SPI_BUS 2>/dev/null | grep -q unix' ||
  fail "the accessibility bus did not start"

cp -r "$root/course" "$work/course"
(cd "$work/course" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec "$bin") >"$work/program.log" 2>&1 &
app=$!
/usr/bin/python3 "$here/screen-reader-tree.py" || fail "the tree above"
kill -0 "$app" 2>/dev/null || fail "the program ended"
