#!/usr/bin/env bash
# Builds the parser fuzz target with clang and libFuzzer (not part of the
# main build or CI) and prepares a seed corpus from the saved result pages.
#   fuzz/build.sh && fuzz/build/parse_fuzz -dict=fuzz/parse.dict fuzz/build/corpus
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=$here/build
mkdir -p "$out/corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root/src" "$here/parse_fuzz.cpp" \
  "$root"/src/parse/*.cpp "$root"/src/core/Text.cpp "$root"/src/core/Lines.cpp \
  "$root"/src/core/Errors.cpp "$root"/src/search/Engines.cpp \
  -o "$out/parse_fuzz"
# One seed per saved page and engine: the selector byte, then the page.
i=0
for page in "$root"/tests/fixtures/parse/*; do
  for sel in 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19; do
    { printf "\\$(printf '%03o' "$sel")"; cat "$page"; } > "$out/corpus/seed-$i-$sel"
  done
  i=$((i + 1))
done
echo "built $out/parse_fuzz"
