#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb from a configured and built tree and checks what it holds and needs, on the
# Debian release it runs on, and runs lintian over it when lintian is installed:
#   packaging/check-package.sh BUILD_DIR
# Installing the package needs root and is not done here (see docs/deployment.md).
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# A package directory of its own, so that parallel runs and earlier packages do not mix.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack did not build the package"; }
deb=$(ls "$work"/out/*.deb)
echo "package: $(basename "$deb")"

dpkg-deb -c "$deb" >"$work/contents"
dpkg-deb -f "$deb" >"$work/control"
listed() { grep -qE "$1" "$work/contents" || fail "not in the package: $1"; }

# The program and the teachers' tools; the helpers that make the documentation's pictures and
# sample groups stay out.
listed ' \./usr/bin/course-testing$'
# The screens on the web engine and the media players, which the program loads after its splash.
listed ' \./usr/lib/.*course-testing/course-testing-screens\.so$'
for tool in pdbcheck groupreport moodlexml; do
  listed " \./usr/bin/$tool\$"
done
for helper in htmlshot samplegroup; do
  ! grep -qE " \./usr/bin/$helper\$" "$work/contents" || fail "a helper in the package: $helper"
done
# The sample course, read-only, with its results linked to /var/lib.
course='\./usr/share/course-testing/course'
for f in ortu/pdb12.db html/0000.htm helphtml/index.htm wave/Drumroll.wav 'images/\$film01.avi'; do
  listed " $course/$f\$"
done
listed " $course/otchet -> /var/lib/course-testing/otchet\$"
listed ' \./usr/lib/course-testing/course-testing-keeper$'
listed '^drwxr-xr-x .* \./var/lib/course-testing/otchet/data1/$'
listed '^drwxr-xr-x .* \./var/lib/course-testing/otchet/print otchet/$'
listed '^drwxr-xr-x .* \./var/lib/course-testing/code-check/$'
! grep -qE '\.(txt|lock)$' <(grep /otchet/ "$work/contents") || fail "result files in the package"
# Desktop entry and icons.
listed ' \./usr/share/applications/course-testing\.desktop$'
listed ' \./usr/share/icons/hicolor/48x48/apps/course-testing\.png$'
listed ' \./usr/share/icons/hicolor/scalable/apps/course-testing\.svg$'
listed ' \./usr/share/doc/course-testing/deployment\.md$'
# The exam session and the supervisor code: its helper beside the screens, the teachers' tool.
listed ' \./usr/share/xsessions/course-testing-exam\.desktop$'
listed ' \./usr/lib/course-testing/exam-session$'
listed ' \./etc/X11/Xsession\.d/15course-testing-exam$'
listed ' \./usr/lib/course-testing/course-testing-code-check$'
listed ' \./usr/bin/supervisorcode$'
listed ' \./usr/share/doc/course-testing/copyright$'
listed ' \./usr/share/doc/course-testing/changelog\.gz$'
listed ' \./usr/share/metainfo/edu\.coursetesting\.CourseTesting\.metainfo\.xml$'
listed ' \./etc/course-testing\.conf$'
for program in course-testing pdbcheck groupreport moodlexml supervisorcode; do
  listed " \./usr/share/man/man1/$program\.1\.gz\$"
done
# Nothing of the build or the tests.
! grep -qE 'tst_|benchmark|fuzz|/include/|\.a$' "$work/contents" || fail "test or build files in the package"

# Control fields: libraries resolved by dpkg-shlibdeps, and what is loaded without linking.
field() { sed -n "s/^$1: //p" "$work/control"; }
[ "$(field Package)" = course-testing ] || fail "package name"
[ "$(field Architecture)" = amd64 ] || fail "architecture"
# The version of the build the programs print (cmake/CourseVersion.cmake).
build_version=$(cat "$build/generated/course_version.txt")
[ "$(field Version)" = "$build_version" ] ||
  fail "package version $(field Version), build $build_version"
[ "$(basename "$deb")" = "course-testing_${build_version}_amd64.deb" ] || fail "file name $(basename "$deb")"
grep -qE '^[^<]+ <[^@ ]+@[^@ ]+\.[a-z]+>$' <<<"$(field Maintainer)" || fail "maintainer $(field Maintainer)"
depends=$(field Depends)
echo "depends: $depends"
# The Qt libraries under the names of this release's packages (Debian 13 renamed some for the
# 64-bit time: libqt6core6t64), found from the libraries the build linked.
package_of() { # package_of LIBRARY-FILE-NAME
  local path
  path=$(ldconfig -p | awk -v lib="$1" '$1 == lib && /x86-64/ { print $NF; exit }')
  [ -n "$path" ] || fail "no $1 on this system"
  dpkg -S "$(realpath "$path")" 2>/dev/null | head -1 | cut -d: -f1 ||
    dpkg -S "$path" | head -1 | cut -d: -f1
}
qtcore=$(package_of libQt6Core.so.6)
for lib in libQt6Core.so.6 libQt6Widgets.so.6 libQt6WebEngineWidgets.so.6 libQt6Multimedia.so.6; do
  dep=$(package_of $lib)
  grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep (for $lib)"
done
for dep in libc6 libqt6webenginecore6-bin gstreamer1.0-plugins-good gstreamer1.0-libav \
           fonts-liberation adduser; do
  grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep"
done
grep -qE "$qtcore \(>= 6\." <<<"$depends" || fail "no version on $qtcore"
# Every dependency is a package apt knows here, in a version that satisfies it.
if command -v apt-cache >/dev/null && command -v dpkg >/dev/null; then
  IFS=',' read -ra items <<<"$depends"
  for item in "${items[@]}"; do
    name=$(awk '{print $1}' <<<"$item")
    version=$(sed -n 's/.*(>= \(.*\))/\1/p' <<<"$item")
    candidate=$(apt-cache policy "$name" 2>/dev/null | sed -n 's/^ *Candidate: //p')
    [ -n "$candidate" ] && [ "$candidate" != "(none)" ] || fail "apt knows no package $name"
    if [ -n "$version" ]; then
      dpkg --compare-versions "$candidate" ge "$version" || fail "$name $candidate < $version"
    fi
  done
fi

# The files themselves: a stripped executable, the entry as installed, the script that makes
# the result folders writable for the group.
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -e "$deb" "$work/DEBIAN"
file "$work/root/usr/bin/course-testing" | grep -q 'ELF 64-bit.*stripped' || fail "program not a stripped ELF"
file "$work/root/usr/bin/course-testing" | grep -q 'not stripped' && fail "program not stripped"
entry="$work/root/usr/share/applications/course-testing.desktop"
grep -qx 'Name\[ru\]=Тестирование' "$entry" || fail "desktop entry has no Russian name"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry"; fi
# The entry starts the program as packaged: the course comes from the settings file, a conffile.
grep -qx 'Exec=/usr/bin/course-testing' "$entry" || fail "desktop entry names a course folder"
grep -qx '/etc/course-testing.conf' "$work/DEBIAN/conffiles" || fail "settings file not a conffile"
grep -qx 'course = /usr/share/course-testing/course' "$work/root/etc/course-testing.conf" ||
  fail "settings file does not name the installed course"
# The exam session falls back on the same settings file.
grep -q "\[ -r '/etc/course-testing.conf' \]" "$work/root/usr/lib/course-testing/exam-session" ||
  fail "the exam session does not read the PC's settings file"
# The hook that gives the exam group the exam session reads the group from /etc and is the
# administrator's to change.
hook="$work/root/etc/X11/Xsession.d/15course-testing-exam"
grep -q "<'/etc/course-testing/exam-group'" "$hook" && grep -q "exec '/usr/lib/course-testing/exam-session'" "$hook" ||
  fail "the session hook does not start the exam session for the group in /etc/course-testing/exam-group"
grep -qx '/etc/X11/Xsession.d/15course-testing-exam' "$work/DEBIAN/conffiles" || fail "session hook not a conffile"
# The result folders get their group and mode once, registered so that upgrades keep them.
[ -x "$work/DEBIAN/postinst" ] || fail "no postinst"
# The keeper's group and modes: those scripts/keeper-permissions-check.sh tries as a student.
grep -q 'register root course-testing-keeper 2755 /usr/lib/course-testing/course-testing-keeper' \
  "$work/DEBIAN/postinst" || fail "postinst does not make the keeper set-group-id"
# The code check's: set-group-id to the group that alone reads the courses' hash files.
grep -q 'register root course-testing-code 2755 /usr/lib/course-testing/course-testing-code-check' \
  "$work/DEBIAN/postinst" || fail "postinst does not make the code check set-group-id"
grep -q 'register root course-testing-code 2770 /var/lib/course-testing/code-check' \
  "$work/DEBIAN/postinst" || fail "postinst does not give the code checks' folder to their group alone"
grep -q 'register root course-testing-keeper 2770 "$folder"' "$work/DEBIAN/postinst" ||
  fail "postinst does not close the result folders"
grep -q 'register root course-testing-keeper 0640 "$file"' "$work/DEBIAN/postinst" ||
  fail "postinst does not close the question files"
! grep -qE '^[^#]*\bch(mod|grp|own)\b' "$work/DEBIAN/postinst" ||
  fail "postinst sets modes by hand (an upgrade would undo the administrator's)"
grep -q 'dpkg-statoverride --remove' "$work/DEBIAN/postrm" || fail "postrm leaves the registrations"
! grep -q ldconfig "$work/DEBIAN/postinst" "$work/DEBIAN/postrm" || fail "ldconfig for a private library"
for script in postinst postrm; do sh -n "$work/DEBIAN/$script" || fail "$script is not valid shell"; done
# The copyright file: machine-readable, GPL-3+ for the code and for the course's media.
copyright="$work/root/usr/share/doc/course-testing/copyright"
head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright file not machine-readable"
for files in '\*' 'course/\*'; do
  grep -A2 -x "Files: $files" "$copyright" | grep -qx 'License: GPL-3+' || fail "no licence for $files"
done
grep -q '/usr/share/common-licenses/GPL-3' "$copyright" || fail "copyright does not point at GPL-3"
# The changelog's newest entry is this version.
zcat "$work/root/usr/share/doc/course-testing/changelog.gz" | head -1 |
  grep -qF "course-testing ($build_version)" || fail "changelog does not start with $build_version"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net \
    "$work/root/usr/share/metainfo/edu.coursetesting.CourseTesting.metainfo.xml" >/dev/null ||
    fail "AppStream metainfo does not validate"
fi

# The programs as packaged, without a display: --version gives the package's version, --help
# and a wrong option are Russian (Qt's own words too) and end with their codes, never an abort;
# each has its manual page, made from its --help (shown in a UTF-8 locale, as it is written).
for program in course-testing pdbcheck groupreport moodlexml supervisorcode; do
  bin="$work/root/usr/bin/$program"
  run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 "$bin" "$@"; }
  [ "$(run --version | head -1)" = "$program $build_version" ] || fail "$program --version"
  help=$(run --help) || fail "$program --help failed"
  grep -q '^Использование: ' <<<"$help" || fail "$program --help is not Russian"
  ! grep -qE 'Usage|Displays|Unknown' <<<"$help" || fail "$program --help has English"
  set +e
  error=$(run --no-such-option 2>&1 >/dev/null)
  code=$?
  set -e
  [ $code -eq 2 ] || fail "$program with a wrong option: exit $code"
  grep -q 'Неизвестный параметр «no-such-option»' <<<"$error" || fail "$program error: $error"
  page=$(LC_ALL=C.UTF-8 man -l "$work/root/usr/share/man/man1/$program.1.gz" 2>&1) || fail "man $program"
  grep -q -- '--version' <<<"$page" && grep -q 'ИМЯ' <<<"$page" || fail "manual page of $program"
done
grep -q -- '--course ПАПКА' <<<"$(LC_ALL=C.UTF-8 man -l "$work/root/usr/share/man/man1/course-testing.1.gz")" ||
  fail "the program's manual page lacks --course"
# A right start without a display: the program says so and ends, it does not abort.
set +e
(cd "$work/root/usr/share/course-testing/course" &&
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/course-testing") \
  >/dev/null 2>"$work/no-display.txt"
code=$?
set -e
[ $code -eq 6 ] && grep -q 'Нет дисплея' "$work/no-display.txt" || fail "start without a display: exit $code"

# lintian: no error and no warning (the notes it gives with --pedantic are explained in
# docs/deployment.md).
if command -v lintian >/dev/null; then
  set +e
  lintian --fail-on error,warning --pedantic "$deb" >"$work/lintian.txt" 2>&1
  code=$?
  set -e
  grep -v 'running with root' "$work/lintian.txt" | sed 's/^/lintian: /' || true
  [ $code -eq 0 ] || fail "lintian reports errors or warnings"
else
  echo "lintian not installed: not run"
fi
echo "package checked"
