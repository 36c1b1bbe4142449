#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The exam keeper installed as the package installs it (set-group-id to a group of its own, the
# question files and both result folders that group's, students not in it), tried as a student:
# a control test through the keeper works; reading the key, and changing, deleting, replacing or
# planting result files by hand do not, and the files stay as the keeper wrote them. A classmate
# gets neither the student's data file nor its name through the keeper; the teacher gets both.
#
#   scripts/keeper-permissions-check.sh KEEPER QUESTION-FILE WORK-FOLDER
#
# Needs root (a group, a student account, the set-group-id bit); exits 77 (skipped) without it.
# WORK-FOLDER must lie on a path that only root can change (the build folder when built as root).
set -uo pipefail
keeper=$1
questions=$2
work=$3
if [ "$(id -u)" != 0 ] || ! command -v useradd >/dev/null || ! command -v runuser >/dev/null; then
  echo "skipped: needs root, useradd and runuser"
  exit 77
fi

tag=$$
group=ctkeeper$tag
student=ctstudent$tag
classmate=ctmate$tag
# Below /tmp, whatever the build folder: a folder above the course that everyone may write but
# with the sticky bit must not stop the keeper.
base=$(mktemp -d /tmp/keeper-check.XXXXXX)
chmod 755 "$base"
failures=0
cleanup() {
  userdel "$student" >/dev/null 2>&1
  userdel "$classmate" >/dev/null 2>&1
  groupdel "$group" >/dev/null 2>&1
  rm -rf "$base"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
as_student() { runuser -u "$student" -- "$@"; }

groupadd --system "$group" || exit 1
useradd --no-create-home --home-dir /nonexistent --shell /bin/sh "$student" || exit 1
useradd --no-create-home --home-dir /nonexistent --shell /bin/sh "$classmate" || exit 1

# The package's modes: the keeper 2755 root:GROUP; the course root's; the key 0640 root:GROUP in
# a folder 0750; the result folders 2770 root:GROUP.
chmod 755 "$base"
mkdir -p "$base/bin" "$base/course/ortu" "$base/course/otchet/data1" \
  "$base/course/otchet/print otchet"
install -o root -g "$group" -m 2755 "$keeper" "$base/bin/course-testing-keeper"
install -o root -g "$group" -m 0640 "$questions" "$base/course/ortu/pdb12.db"
chown root:"$group" "$base/course/ortu" "$base/course/otchet/data1" "$base/course/otchet/print otchet"
chmod 750 "$base/course/ortu"
chmod 755 "$base/course" "$base/course/otchet"
chmod 2770 "$base/course/otchet/data1" "$base/course/otchet/print otchet"
course=$base/course
data="$course/otchet/data1/Ivanov I. I..txt"
report="$course/otchet/print otchet/Ivanov I. I..txt"

# A control test of two questions as the student, through the installed keeper.
answers=$(printf 'HELLO\t1\nCONTROL\tIvanov I. I.\tFK-1\tSwimming\tKMS\tИТОГОВОЕ ТЕСТИРОВАНИЕ\t2\nNEXT\nANSWER\t00000\nNEXT\nANSWER\t00000\nBYE\n' |
  as_student "$base/bin/course-testing-keeper" --course "$course")
echo "$answers" | grep -q "^RESULT	2	0	200	0.0$" || fail "the student's control test through the keeper: $answers"
[ -s "$data" ] && [ -s "$report" ] || fail "the keeper wrote no result files"
before=$(sha256sum "$data" "$report")

# The key and the result files by hand.
as_student cat "$course/ortu/pdb12.db" >/dev/null 2>&1 && fail "the student read the key"
as_student ls "$course/otchet/data1" >/dev/null 2>&1 && fail "the student listed the results"
as_student sh -c "echo forged >> '$data'" 2>/dev/null && fail "the student changed his data file"
as_student rm -f "$data" 2>/dev/null
as_student mv "$report" "$course/otchet/print otchet/x.txt" 2>/dev/null
as_student sh -c "echo planted > '$course/otchet/data1/Petrov P. P..txt'" 2>/dev/null &&
  fail "the student planted a data file"
as_student chmod 666 "$data" 2>/dev/null && fail "the student changed his data file's modes"
[ "$before" = "$(sha256sum "$data" "$report" 2>/dev/null)" ] ||
  fail "the result files changed after the student's attempts"

# The review reads a data file through the keeper; a course of the student's own is refused.
review=$(printf 'HELLO\t1\nDATA\tIvanov I. I.\nBYE\n' | as_student "$base/bin/course-testing-keeper" --course "$course")
echo "$review" | grep -q "^FILE	$(base64 -w0 < "$data")$" || fail "the review through the keeper: $review"
# A classmate sees neither the name nor the file (the right answers are in it); the teacher (root
# here) sees both.
mate=$(printf 'HELLO\t1\nLIST\nDATA\tIvanov I. I.\nBYE\n' |
  runuser -u "$classmate" -- "$base/bin/course-testing-keeper" --course "$course")
echo "$mate" | grep -q "^NAMES$" || fail "the classmate's list shows another's file: $mate"
echo "$mate" | grep -q "^REFUSED	owner	" || fail "the classmate read another's data file: $mate"
teacher=$(printf 'HELLO\t1\nLIST\nDATA\tIvanov I. I.\nBYE\n' |
  "$base/bin/course-testing-keeper" --course "$course")
echo "$teacher" | grep -q "^NAMES	Ivanov I. I.$" && echo "$teacher" | grep -q "^FILE	" ||
  fail "the teacher's list or file through the keeper: $teacher"
# The attempt journal names the student's account for the start and the end of his test.
journal="$course/otchet/print otchet/attempts.log"
[ "$(grep -c "	Ivanov I. I.	$(id -u "$student")	$student	" "$journal")" = 2 ] ||
  fail "the attempt journal: $(cat "$journal" 2>&1)"
as_student cat "$journal" >/dev/null 2>&1 && fail "the student read the attempt journal"
own=$(as_student mktemp -d)
as_student mkdir -p "$own/ortu" "$own/otchet/data1" "$own/otchet/print otchet"
refused=$(printf 'HELLO\t1\n' | as_student "$base/bin/course-testing-keeper" --course "$own")
echo "$refused" | grep -q "^ERROR	not a course the keeper may serve" ||
  fail "the keeper served the student's own course: $refused"
rm -rf "$own"

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "keeper permissions: all refused as they should be"
