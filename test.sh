#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything and runs the whole test suite headless, then prints
# one line per stage saying whether it passed. Every stage runs even after an earlier one failed
# (except those that need the build, when the build failed).
#
# Exit codes (the first stage that failed, in the order they run):
#   0       every stage passed (or was skipped, as said in the summary)
#   3       packages are missing and this user cannot install them (see scripts/install-deps.sh)
#   4       apt-get failed while installing them
#   5       configuring or building the program and its tests failed
#   10      course texts: the committed course files differ from their sources
#   11      fuzz: a libFuzzer smoke run failed (or could not be built)
#   12      ctest: a Qt Test program failed
#   20+N    the N-th real-window check (scripts/window-checks/*.sh in name order, N from 1) failed
set -uo pipefail
cd "$(dirname "$0")"
root=$(pwd)

names=()
results=()
first_failure=0
record() { # record NAME RESULT [EXIT-CODE-WHEN-FAILED]
  names+=("$1")
  results+=("$2")
  if [ "$2" = failed ] && [ "$first_failure" -eq 0 ]; then first_failure=$3; fi
}
summary() {
  echo
  echo "== summary"
  local i
  for i in "${!names[@]}"; do
    printf '%-40s %s\n' "${names[$i]}" "${results[$i]}"
  done
  exit "$first_failure"
}

bash scripts/install-deps.sh test
deps=$?
if [ $deps -ne 0 ]; then
  record "packages" failed $(( deps == 3 || deps == 4 ? deps : 4 ))
  summary
fi
record "packages" passed

built=1
echo "== build"
if cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
   cmake --build build/test; then
  record "build" passed
else
  record "build" failed 5
  built=0
fi

export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1

echo "== course texts match their sources"
if python3 scripts/make-course-texts.py --check; then
  record "course texts" passed
else
  record "course texts" failed 10
fi

if ! command -v clang++ >/dev/null 2>&1; then
  record "fuzz" "skipped (clang++ not found)"
else
  echo "== fuzz smoke run"
  if fuzz/smoke.sh; then record "fuzz" passed; else record "fuzz" failed 11; fi
fi

if [ $built -eq 0 ]; then
  record "ctest" "not run (the build failed)"
else
  echo "== ctest"
  if ctest --test-dir build/test --output-on-failure -j2; then
    record "ctest" passed
  else
    record "ctest" failed 12
  fi
fi

# Real-window checks: each script starts the program on an X display of its own (Xvfb) and
# drives it with xdotool; it gets the program binary as its argument.
program="$root/build/test/bin/course-testing"
n=0
for check in scripts/window-checks/*.sh; do
  [ -f "$check" ] && [ -x "$check" ] || continue
  n=$((n + 1))
  name="window check $(basename "$check" .sh)"
  if ! command -v Xvfb >/dev/null 2>&1 || ! command -v xdotool >/dev/null 2>&1; then
    record "$name" "skipped (Xvfb or xdotool not found)"
  elif [ $built -eq 0 ]; then
    record "$name" "not run (the build failed)"
  else
    echo "== $name"
    # The checks run on real (virtual) displays, not offscreen, in a UTF-8 locale as a desktop
    # session has it: xdotool matches the windows' Russian titles only there (under LANG=C the
    # program's legacy title property cannot hold Cyrillic).
    if env -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 "$check" "$program"; then
      record "$name" passed
    else
      record "$name" failed $(( 20 + n < 99 ? 20 + n : 99 ))
    fi
  fi
done

summary
