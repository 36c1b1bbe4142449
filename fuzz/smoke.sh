#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Short fuzzing smoke run: builds the libFuzzer targets with clang, ASan and UBSan in a build
# directory of their own and runs each for a bounded number of runs, seeded with the committed
# corpus. Exits non-zero when a target crashes or a sanitizer reports an error.
#
#   fuzz/smoke.sh                 (FUZZ_RUNS=20000 by default, FUZZ_BUILD_DIR=build-fuzz)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
runs="${FUZZ_RUNS:-20000}"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz/smoke.sh: clang++ not found" >&2
    exit 1
fi

cmake -G Ninja -S "$root" -B "$build" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCOURSE_BUILD_FUZZERS=ON -DCOURSE_BUILD_TESTS=OFF -DCOURSE_BUILD_BENCHMARKS=OFF \
    "-DCMAKE_CXX_FLAGS=$sanitize -fsanitize=fuzzer-no-link" \
    "-DCMAKE_EXE_LINKER_FLAGS=$sanitize" >/dev/null
ninja -C "$build" -j2 question_file_fuzzer

# libFuzzer adds what it finds to its first corpus folder: a scratch copy keeps the committed
# corpus as it is.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
log="$build/question_file_fuzzer.log"
if ! "$build/fuzz/question_file_fuzzer" -runs="$runs" -max_len=4096 -timeout=10 \
    -artifact_prefix="$build/" "$scratch" "$root/fuzz/corpus" >"$log" 2>&1; then
    tail -n 80 "$log" >&2
    echo "fuzz/smoke.sh: question_file_fuzzer FAILED (log: $log, input saved in $build/)" >&2
    exit 1
fi
echo "fuzz/smoke.sh: question_file_fuzzer passed $runs runs"

# The reader of a control test's data file, seeded with the review tests' data files.
ninja -C "$build" -j2 data_file_fuzzer
data_scratch="$(mktemp -d)"
trap 'rm -rf "$scratch" "$data_scratch"' EXIT
log="$build/data_file_fuzzer.log"
if ! "$build/fuzz/data_file_fuzzer" -runs="$runs" -max_len=4096 -timeout=10 \
    -artifact_prefix="$build/" "$data_scratch" "$root/autotests/review/data" >"$log" 2>&1; then
    tail -n 80 "$log" >&2
    echo "fuzz/smoke.sh: data_file_fuzzer FAILED (log: $log, input saved in $build/)" >&2
    exit 1
fi
echo "fuzz/smoke.sh: data_file_fuzzer passed $runs runs"
