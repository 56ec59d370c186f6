#!/usr/bin/env bash
# Builds Orvalen, lays out its program folder beside the binary and opens it.
# Without a display the window runs under Xvfb and a screenshot is saved.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh run

build=build-release
export CCACHE_BASEDIR=$PWD CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVALEN_TESTS=OFF -DORVALEN_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

prog=$PWD/$build/bin
mkdir -p "$prog/data" "$prog/Reports" "$prog/Templates"

# No search engine of the catalogue answers any more: the engine simulator
# plays all ten on 127.0.0.1, and engines.txt points the program at it.
simlog=$(mktemp -t enginesim-XXXXXX.log)
coproc SIM { exec "$prog/enginesim" --port 0 --log "$simlog" --write-engines "$prog/engines.txt"; }
sim=$SIM_PID
read -r -t 20 ready <&"${SIM[0]}" || { echo "enginesim did not start" >&2; exit 1; }
echo "Engine simulator: ${ready##* } (log $simlog)"
cleanup() { kill "$sim" 2>/dev/null || true; }
trap cleanup EXIT

if [ -n "${DISPLAY:-}" ]; then
  "$prog/orvalen"
  exit 0
fi

demo=$PWD/demo
mkdir -p "$demo"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; cleanup' EXIT
sleep 1
DISPLAY=$display "$prog/orvalen" &
app=$!
sleep 3
DISPLAY=$display import -window root "$demo/screenshot.png"
kill $app 2>/dev/null || true
wait $app 2>/dev/null || true
echo "Screenshot: $demo/screenshot.png"
