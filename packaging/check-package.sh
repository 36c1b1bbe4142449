#!/usr/bin/env bash
# Builds the .deb from a configured and built tree and checks what it holds and needs:
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
listed '^drwxr-xr-x .* \./var/lib/course-testing/otchet/data1/$'
listed '^drwxr-xr-x .* \./var/lib/course-testing/otchet/print otchet/$'
! grep -qE '\.(txt|lock)$' <(grep /otchet/ "$work/contents") || fail "result files in the package"
# Desktop entry and icons.
listed ' \./usr/share/applications/course-testing\.desktop$'
listed ' \./usr/share/icons/hicolor/48x48/apps/course-testing\.png$'
listed ' \./usr/share/icons/hicolor/scalable/apps/course-testing\.svg$'
listed ' \./usr/share/doc/course-testing/deployment\.md$'
# The exam session and the supervisor code: its helper beside the screens, the teachers' tool.
listed ' \./usr/share/xsessions/course-testing-exam\.desktop$'
listed ' \./usr/lib/course-testing/exam-session$'
listed ' \./usr/lib/.*course-testing/course-testing-code-check$'
listed ' \./usr/bin/supervisorcode$'
# Nothing of the build or the tests.
! grep -qE 'tst_|benchmark|fuzz|/include/|\.a$' "$work/contents" || fail "test or build files in the package"

# Control fields: libraries resolved by dpkg-shlibdeps, and what is loaded without linking.
field() { sed -n "s/^$1: //p" "$work/control"; }
[ "$(field Package)" = course-testing ] || fail "package name"
[ "$(field Architecture)" = amd64 ] || fail "architecture"
depends=$(field Depends)
echo "depends: $depends"
for dep in libc6 'libqt6core6' 'libqt6widgets6' 'libqt6webenginewidgets6' 'libqt6multimedia6' \
           libqt6webenginecore6-bin gstreamer1.0-plugins-good gstreamer1.0-libav fonts-liberation adduser; do
  grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep"
done
grep -qE 'libqt6core6 \(>= 6\.' <<<"$depends" || fail "no version on libqt6core6"
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
grep -qx 'Exec=/usr/bin/course-testing --course /usr/share/course-testing/course' "$entry" ||
  fail "desktop entry does not start the installed course"
grep -qx 'Name\[ru\]=Тестирование' "$entry" || fail "desktop entry has no Russian name"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry"; fi
[ -x "$work/DEBIAN/postinst" ] || fail "no postinst"
grep -q 'chmod 2775' "$work/DEBIAN/postinst" || fail "postinst does not open the result folders"
sh -n "$work/DEBIAN/postinst" || fail "postinst is not valid shell"
# The packaged program runs: its usage needs no display.
"$work/root/usr/bin/course-testing" --help | grep -q -- '--course ПАПКА' || fail "program does not run"
echo "package checked"
