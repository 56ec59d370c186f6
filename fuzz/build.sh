#!/usr/bin/env bash
# Builds every fuzz target (fuzz/*_fuzz.cpp) with clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer into fuzz/build/, outside
# the main build and CI, and prepares the parser's seed corpus from the saved
# result pages. Run one target with fuzz/run.sh NAME [SECONDS].
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=$here/build
"$root"/scripts/deps.sh fuzz

export CCACHE_BASEDIR=$root CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
cmake -S "$here" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$out" -j"${FUZZ_JOBS:-2}"

# The parser's seeds: one per saved page and engine, the selector byte first.
mkdir -p "$out/corpus/parse"
i=0
for page in "$root"/tests/fixtures/parse/*; do
  for sel in 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19; do
    { printf "\\$(printf '%03o' "$sel")"; cat "$page"; } > "$out/corpus/parse/seed-$i-$sel"
  done
  i=$((i + 1))
done
echo "built $(cd "$out" && ls -- *_fuzz | tr '\n' ' ')"
