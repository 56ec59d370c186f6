#!/usr/bin/env bash
# Builds the test build (warnings as errors, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh test

build=${ORVALEN_TEST_BUILD:-build-test}
export CCACHE_BASEDIR=$PWD CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVALEN_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" -j"$(nproc)" --output-on-failure "$@"
