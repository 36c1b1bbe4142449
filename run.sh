#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program in Release and starts it in course/.
#
# Exit codes: 3 or 4 from scripts/install-deps.sh (packages missing and this user cannot install
# them / apt-get failed), 5 the build failed, 6 no X display; otherwise the program's own.
set -uo pipefail
cd "$(dirname "$0")"
root=$(pwd)

bash scripts/install-deps.sh run || exit $?
if ! cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCOURSE_BUILD_TESTS=OFF \
       -DCOURSE_BUILD_BENCHMARKS=OFF >/dev/null ||
   ! cmake --build build/release --target course-testing; then
  echo "run.sh: the build failed" >&2
  exit 5
fi

# The program draws through X11: a desktop session (X or XWayland) sets DISPLAY, as does Xvfb.
if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no X display found (DISPLAY is not set); start it from a desktop session or under Xvfb." >&2
  exit 6
fi

# The embedded browser refuses its sandbox when run as root.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
cd "$root/course"
exec "$root/build/release/bin/course-testing" "$@"
