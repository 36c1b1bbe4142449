#!/bin/sh
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The documentation's pictures of a group report: 30 generated students of the sample course
# through samplegroup and groupreport, the page rendered by htmlshot under Xvfb at 1024 wide.
#
#   tools/groupreport/report-screenshots.sh BUILD_DIR [OUT_DIR]
#
# Writes group-report-1024.png (the top of the page) and group-items-1024.png (the item
# analysis) to OUT_DIR (default BUILD_DIR/screenshots).
set -eu
build=$1
out=${2:-$build/screenshots}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

mkdir -p "$out"
"$build/tools/groupreport/samplegroup" --students 30 --questions 10 \
    "$source_dir/course/ortu/pdb12.db" "$work/data1" >/dev/null
"$build/tools/groupreport/groupreport" --title "Группа ФК-101: итоговое тестирование" \
    --csv "$work/group.csv" --html "$work/group.html" "$work/data1" >/dev/null

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"
shot="$build/tools/htmlshot/htmlshot"
"$shot" "$work/group.html" "$out/group-report-1024.png" 1024 768 2>/dev/null
"$shot" "$work/group.html" "$out/group-items-1024.png" 1024 768 items 2>/dev/null
echo "$out/group-report-1024.png"
echo "$out/group-items-1024.png"
