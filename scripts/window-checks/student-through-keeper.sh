#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# A lab PC set up as the package sets it up (the exam keeper set-group-id to a group of its own,
# the question files and both result folders that group's alone, students not in it): a student's
# account takes a whole control test in real windows, and then, as the same account, tries to
# read the key and to change, delete, rename and plant result files. The test's files must be
# there and stay as the keeper wrote them.
#   scripts/window-checks/student-through-keeper.sh BINARY
# Needs root (a group, an account, the set-group-id bit); says so and passes without it.
set -euo pipefail
bin=$(realpath "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ "$(id -u)" != 0 ] || ! command -v useradd >/dev/null || ! command -v runuser >/dev/null; then
  echo "student-through-keeper: skipped (needs root, useradd and runuser)"
  exit 0
fi
source "$root/scripts/window-checks/common.bash"
[ -x "$(dirname "$bin")/course-testing-keeper" ] || { echo "FAIL: no keeper beside $bin" >&2; exit 1; }

tag=$$
group=ctkeeper$tag
student=ctstudent$tag
# Below /tmp: the keeper serves only a course no one but root may change, all the way up, and
# takes root's sticky /tmp as such. The student must reach it too, which a build below a home
# folder (/root is 0700) would not let him.
base=$(mktemp -d /tmp/student-check.XXXXXX)
xvfb='' app=''
cleanup() {
  local code=$?
  set +e
  if [ -n "$app" ]; then kill "$app"; wait "$app"; fi 2>/dev/null
  # The keeper ends when the program's end closes its input.
  for _ in $(seq 100); do pgrep -u "$student" >/dev/null || break; sleep 0.1; done
  if [ -n "$xvfb" ]; then kill "$xvfb"; wait "$xvfb"; fi 2>/dev/null
  userdel "$student" >/dev/null 2>&1
  groupdel "$group" >/dev/null 2>&1
  rm -rf "$base"
  exit "$code"
}
trap cleanup EXIT
fail() {
  echo "student-through-keeper: $*" >&2
  [ -s "$base/program.log" ] && tail -n 15 "$base/program.log" >&2
  exit 1
}

groupadd --system "$group"
useradd --create-home --home-dir "$base/home" --shell /bin/sh "$student"

# The package's layout and modes, beside one another as in a build.
chmod 755 "$base"
mkdir -p "$base/bin"
cp "$bin" "$(dirname "$bin")/course-testing-screens.so" "$base/bin/"
install -o root -g "$group" -m 2755 "$(dirname "$bin")/course-testing-keeper" "$base/bin/"
course=$base/course
cp -r "$root/course/." "$course/"
rm -rf "$course/otchet"
mkdir -p "$course/otchet/data1" "$course/otchet/print otchet"
chown -R root:root "$course" && chmod -R u=rwX,go=rX "$course"
chown -R root:"$group" "$course/ortu" "$course/otchet/data1" "$course/otchet/print otchet"
chmod 0750 "$course/ortu" && chmod 0640 "$course"/ortu/*
chmod 2770 "$course/otchet/data1" "$course/otchet/print otchet"

w=1024 h=768
start_xvfb "$w" "$h" "$base"
runuser -u "$student" -- env -i DISPLAY="$DISPLAY" HOME="$base/home" LC_ALL=C.UTF-8 \
  QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
  "$base/bin/course-testing" --course "$course" >"$base/program.log" 2>&1 &
app=$!

click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-1}"; }
window_now() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
window_named() { eventually 60 window_now "$1"; }
menu_places "$w" "$h"

sleep 9 # past the splash
kill -0 "$app" 2>/dev/null || fail "the program did not start as the student"
open_menu_and_register "Ivanov I. I."
press_control
window_named '^Внимание!$' || fail "the control screen did not open"
cx=$(half $((w - 775))) cy=$(half $((h - 534)))
answer=$((cx + 16 + 88)) answer_y=$((cy + 483 + 10 + 15))
click "$answer" "$answer_y" 2                                     # "OK": question 1
# Every question answered with nothing ticked: the button, once it comes into use (after a
# video question's fragment too), leads to the next question and at last to the result.
for k in $(seq 2 11); do
  for _ in $(seq 240); do
    window_now '^Результат$' && break 2
    window_now "^Вопрос $k\$" && continue 2
    click "$answer" "$answer_y" 0.5
  done
  fail "question $k did not come"
done
window_named '^Результат$' || fail "no result"

data="$course/otchet/data1/Ivanov I. I..txt"
report="$course/otchet/print otchet/Ivanov I. I..txt"
[ -s "$data" ] && [ -s "$report" ] || fail "the keeper wrote no result files"
grep -q $'^, задано вопросов: 10,  набрано баллов: 0 из 1000' <(iconv -f CP1251 -t UTF-8 "$data") ||
  fail "the data file has no totals"
before=$(sha256sum "$data" "$report")

as_student() { runuser -u "$student" -- "$@"; }
failures=''
as_student cat "$course/ortu/pdb12.db" >/dev/null 2>&1 && failures+=" read-the-key"
as_student ls "$course/otchet/data1" >/dev/null 2>&1 && failures+=" listed-the-results"
as_student sh -c "echo forged >> '$data'" 2>/dev/null && failures+=" changed-his-data-file"
as_student rm -f "$data" 2>/dev/null || true
as_student mv "$report" "$course/otchet/print otchet/x.txt" 2>/dev/null || true
as_student sh -c "echo planted > '$course/otchet/data1/Petrov P. P..txt'" 2>/dev/null &&
  failures+=" planted-a-file"
[ -z "$failures" ] || fail "the student could:$failures"
[ "$before" = "$(sha256sum "$data" "$report" 2>/dev/null)" ] ||
  fail "the result files changed after the student's attempts"
echo "student-through-keeper: a whole control test as the student; the key and the results out of his reach"
