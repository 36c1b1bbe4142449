#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Gives every source file of the project its licence header, and leaves the files that have one
# as they are, so it can be run again at any time (after new files came in):
#
#   scripts/spdx-headers.sh           adds the header where it is missing, names the files changed
#   scripts/spdx-headers.sh --check   changes nothing; exit 1 and the list when a file lacks it
#
# The header is two comment lines in the file's own comment style, after a "#!" line:
#   SPDX-FileCopyrightText: 2026 Course testing developers
#   SPDX-License-Identifier: GPL-3.0-or-later
# Source files are the tracked C++, C, CMake, shell and Python files; the course's data, the test
# fixtures and the fuzzing corpus are not touched (their licence is in the package's copyright
# file).
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
case "${1:-}" in
  --check) check=1 ;;
  "") ;;
  *) echo "spdx-headers.sh: unknown argument '$1' (--check)" >&2; exit 2 ;;
esac

copyright="SPDX-FileCopyrightText: 2026 Course testing developers"
licence="SPDX-License-Identifier: GPL-3.0-or-later"

missing=()
while IFS= read -r -d '' file; do
  case "$file" in
    course/* | fuzz/corpus/* | */data/* | */fixtures/*) continue ;;
  esac
  [ -f "$file" ] || continue
  head -n 5 "$file" | grep -q 'SPDX-License-Identifier:' && continue
  missing+=("$file")
  [ $check -eq 1 ] && continue
  case "$file" in
    *.cpp | *.h | *.c) prefix="// " ;;
    *) prefix="# " ;;
  esac
  tmp=$(mktemp)
  {
    first=$(head -n 1 "$file")
    if [[ "$first" == '#!'* ]]; then
      printf '%s\n' "$first"
      printf '%s%s\n%s%s\n' "$prefix" "$copyright" "$prefix" "$licence"
      tail -n +2 "$file"
    else
      printf '%s%s\n%s%s\n' "$prefix" "$copyright" "$prefix" "$licence"
      cat "$file"
    fi
  } >"$tmp"
  chmod --reference="$file" "$tmp"
  mv "$tmp" "$file"
  echo "$file"
done < <(git ls-files -z -- '*.cpp' '*.h' '*.c' '*.cmake' '*.cmake.in' 'CMakeLists.txt' \
           '*/CMakeLists.txt' '*.sh' '*.py' 'packaging/postinst' 'packaging/postrm')

if [ $check -eq 1 ] && [ ${#missing[@]} -gt 0 ]; then
  echo "spdx-headers.sh: without a licence header:" >&2
  printf '  %s\n' "${missing[@]}" >&2
  exit 1
fi
exit 0
