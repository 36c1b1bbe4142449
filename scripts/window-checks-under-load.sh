#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every real-window check (the executable scripts/window-checks/*.sh, as ./test.sh does)
# ROUNDS times in a row (10 unless given) beside two busy loops that keep both cores of a lab PC
# or a CI machine loaded, and stops at the first failure with that check's output. A line per
# check and round says how long it took.
#   scripts/window-checks-under-load.sh BINARY [ROUNDS]
# Exit codes: 0 every round green; 1 a check failed; 2 wrong arguments.
set -euo pipefail
bin=$(realpath "${1:?usage: window-checks-under-load.sh BINARY [ROUNDS]}")
rounds=${2:-10}
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "window-checks-under-load.sh: ROUNDS is a number" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
log=$(mktemp)
loops=()
stop() {
  for pid in "${loops[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -f "$log"
}
trap stop EXIT
for _ in 1 2; do
  sh -c 'while :; do :; done' &
  loops+=($!)
done
cd "$root"
for ((round = 1; round <= rounds; round++)); do
  for check in scripts/window-checks/*.sh; do
    [ -f "$check" ] && [ -x "$check" ] || continue
    start=$SECONDS
    if ! env -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 "$check" "$bin" >"$log" 2>&1; then
      echo "round $round: $(basename "$check" .sh) FAILED after $((SECONDS - start)) s:"
      cat "$log"
      exit 1
    fi
    echo "round $round: $(basename "$check" .sh) passed in $((SECONDS - start)) s"
  done
done
echo "every window check passed $rounds times in a row beside two busy loops"
