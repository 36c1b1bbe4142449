#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The exam session as a display manager starts it under Xvfb: the session entry's command (from
# the package's entry and script, filled in for a trial tree as the install fills them in) starts
# the program alone in the course the lab named, with no window manager; the program is the
# session, so "Выход" ends it and the display manager would log the student out. Then the same
# through the system's Xsession for an account of the exam group that chose another session.
#   scripts/window-checks/exam-session.sh BINARY      (WINDOW_CHECK_DISPLAY=N uses display :N)
set -euo pipefail
bin=$(realpath "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
here="$root/scripts/window-checks"
work=$(mktemp -d)
xvfb='' app=''
stop() {
  if [ -n "$1" ]; then kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; fi
}
cleanup() {
  local code=$?
  set +e
  stop "$app"; stop "$xvfb"
  rm -rf "$work"
  exit "$code"
}
trap cleanup EXIT
fail() {
  echo "exam-session: $*" >&2
  xwin list 2>/dev/null | sed 's/^/    /' >&2 || true
  if [ -s "$work/session.log" ]; then
    echo "the session's last words:" >&2
    tail -n 15 "$work/session.log" >&2
  fi
  exit 1
}
source "$here/common.bash"
cc -O1 -o "$work/xwin" "$here/xwin.c" -lX11
xwin() { "$work/xwin" "$@"; }
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep "${4:-0.5}"; }

# A trial tree laid out as the package installs it, the lab's course named in its etc/.
tree="$work/tree"
mkdir -p "$tree/usr/bin" "$tree/usr/lib/course-testing" "$tree/usr/share/xsessions" \
         "$tree/usr/share/course-testing" "$tree/etc/course-testing"
ln -s "$bin" "$tree/usr/bin/course-testing"
cp -r "$root/course" "$work/lab-course"
echo "$work/lab-course" >"$tree/etc/course-testing/exam-course"
sed -e "s|@PROGRAM@|$tree/usr/bin/course-testing|" \
    -e "s|@COURSE@|$tree/usr/share/course-testing/course|" \
    -e "s|@CONFIG@|$tree/etc/course-testing/exam-course|g" \
    -e "s|@SITE_CONFIG@||g" \
    "$root/packaging/exam-session.in" >"$tree/usr/lib/course-testing/exam-session"
chmod 755 "$tree/usr/lib/course-testing/exam-session"
sed -e "s|@SESSION@|$tree/usr/lib/course-testing/exam-session|g" \
    "$root/packaging/course-testing-exam.desktop.in" >"$tree/usr/share/xsessions/course-testing-exam.desktop"
entry="$tree/usr/share/xsessions/course-testing-exam.desktop"
grep -qx 'Name\[ru\]=Тестирование (экзамен)' "$entry" || fail "the session is not offered as 'Тестирование (экзамен)'"
command=$(sed -n 's/^Exec=//p' "$entry")
[ -n "$command" ] || fail "the session entry has no command"

w=1024 h=768
start_xvfb "$w" "$h" "$work"
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
export XDG_CONFIG_HOME="$work/config" HOME="$work/home"
mkdir -p "$XDG_CONFIG_HOME" "$HOME"
# As the display manager's session script runs it: the command through the shell, as the session.
(cd "$HOME" && exec sh -c "exec $command") >"$work/session.log" 2>&1 &
app=$!

window 'Учебник' >/dev/null || fail "the program did not come up in the session"
[ "$(readlink "/proc/$app/cwd")" = "$work/lab-course" ] ||
  fail "the session runs in $(readlink "/proc/$app/cwd"), not the lab's course"
[ "$(readlink "/proc/$app/exe")" = "$bin" ] || fail "the session's process is not the program itself"
! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
  fail "a window manager runs in the session"
# Nothing but the program's own windows.
for id in $(xwin list | cut -d' ' -f1); do
  pid=$(xprop -id "$id" _NET_WM_PID 2>/dev/null | sed -n 's/.* = //p')
  [ "$pid" = "$app" ] || fail "a window of something else in the session: $id (process ${pid:-unknown})"
done

# "Выход" on the start bar ends the program, and with it the session.
bar=$(( $(half $w) - 50 + 2 ))
click $((bar + 283 + 40)) 14 1 0
eventually 30 bash -c "! kill -0 $app 2>/dev/null" || fail "the session goes on after 'Выход'"
wait "$app" 2>/dev/null || true
app=''

# A student of the exam group who chose another session at the login screen, with a home of his
# own making, gets the exam session all the same: the display manager runs the chosen session
# through the system's Xsession, whose hook (here in a copy of the system's steps) comes first.
xsession=/etc/X11/Xsession
[ -r "$xsession" ] || fail "no $xsession (x11-common) to run the session through"
mkdir -p "$tree/etc/X11/Xsession.d"
cp /etc/X11/Xsession.d/* "$tree/etc/X11/Xsession.d/"
sed -e "s|@GROUP_FILE@|$tree/etc/course-testing/exam-group|g" \
    -e "s|@SESSION@|$tree/usr/lib/course-testing/exam-session|g" \
    "$root/packaging/exam-xsession-hook.in" >"$tree/etc/X11/Xsession.d/15course-testing-exam"
sed -e "s|^SYSSESSIONDIR=.*|SYSSESSIONDIR=$tree/etc/X11/Xsession.d|" "$xsession" >"$work/Xsession"
id -gn >"$tree/etc/course-testing/exam-group"
printf '#!/bin/sh\ntouch "%s/chosen-session-ran"\nexec sleep 600\n' "$work" >"$work/chosen-session"
printf 'touch "%s/xsessionrc-ran"\nexec sleep 600\n' "$work" >"$HOME/.xsessionrc"
chmod 755 "$work/chosen-session"
(cd "$HOME" && exec sh "$work/Xsession" "$work/chosen-session") >"$work/session.log" 2>&1 &
app=$!
window 'Учебник' >/dev/null || fail "the exam group's account did not get the exam session"
[ ! -e "$work/chosen-session-ran" ] || fail "the session the student chose ran"
[ ! -e "$work/xsessionrc-ran" ] || fail "the student's ~/.xsessionrc ran before the exam session"
[ "$(readlink "/proc/$app/exe")" = "$bin" ] || fail "the session's process is not the program itself"
[ "$(readlink "/proc/$app/cwd")" = "$work/lab-course" ] ||
  fail "the hooked session runs in $(readlink "/proc/$app/cwd"), not the lab's course"
click $((bar + 283 + 40)) 14 1 0
eventually 30 bash -c "! kill -0 $app 2>/dev/null" || fail "the hooked session goes on after 'Выход'"
wait "$app" 2>/dev/null || true
app=''
echo "exam-session: the program alone in the lab's course, the session ended with it; the exam" \
  "group gets it whatever session was chosen"
