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

# Builds a target and runs it from a scratch corpus seeded with the committed one (libFuzzer adds
# what it finds to its first corpus folder, so the committed corpus stays as it is).
scratches=()
trap 'rm -rf "${scratches[@]}"' EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
run_fuzzer() { # run_fuzzer TARGET SEED_FOLDER
    local target=$1 seeds=$2 scratch log
    ninja -C "$build" -j2 "$target"
    scratch="$(mktemp -d)"
    scratches+=("$scratch")
    log="$build/$target.log"
    if ! "$build/fuzz/$target" -runs="$runs" -max_len=4096 -timeout=10 \
        -artifact_prefix="$build/" "$scratch" "$seeds" >"$log" 2>&1; then
        tail -n 80 "$log" >&2
        echo "fuzz/smoke.sh: $target FAILED (log: $log, input saved in $build/)" >&2
        exit 1
    fi
    echo "fuzz/smoke.sh: $target passed $runs runs"
}

# The question file loader, seeded with the committed corpus.
run_fuzzer question_file_fuzzer "$root/fuzz/corpus"
# The reader of a control test's data file, seeded with the review tests' data files.
run_fuzzer data_file_fuzzer "$root/autotests/review/data"
# The Moodle XML import and the question file it writes, seeded with small Moodle XML files.
run_fuzzer moodle_import_fuzzer "$root/fuzz/corpus-moodle"
# The exam keeper's protocol, seeded with a control and a training conversation.
run_fuzzer keeper_protocol_fuzzer "$root/fuzz/keeper-corpus"
