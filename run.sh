#!/usr/bin/env bash
# Installs what is missing, builds the program in Release and starts it in course/.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCOURSE_BUILD_TESTS=OFF \
      -DCOURSE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release --target course-testing

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display found (DISPLAY is not set); start it from a desktop session or under Xvfb." >&2
  exit 1
fi

# The embedded browser refuses its sandbox when run as root.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
cd "$root/course"
exec "$root/build/release/bin/course-testing" "$@"
