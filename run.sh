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
# plays all ten on 127.0.0.1, and today's engines of the shipped definitions
# on 127.0.1.1 to 127.0.1.10; engines.txt points the program at it. It
# also serves over TLS: two engines are asked over https, and some result
# links move to https, as most of the web has.
simlog=$(mktemp -t enginesim-XXXXXX.log)
simca=$(mktemp -t enginesim-ca-XXXXXX.pem)
coproc SIM { exec "$prog/enginesim" --port 0 --log "$simlog" --write-engines "$prog/engines.txt" \
  --tls-port 0 --tls-ca "$simca" --https-engines Excite,Magellan; }
sim=$SIM_PID
read -r -t 20 ready <&"${SIM[0]}" || { echo "enginesim did not start" >&2; exit 1; }
read -r -t 20 tlsready <&"${SIM[0]}" || { echo "enginesim did not start TLS" >&2; exit 1; }
echo "Engine simulator: ${ready##* }, TLS ${tlsready##* } (log $simlog)"
cleanup() { kill "$sim" 2>/dev/null || true; rm -f "$simca" "${trust:-}"; }
trap cleanup EXIT

# The program trusts the system's authorities and the simulator's own.
trust=$(mktemp -t orvalen-trust-XXXXXX.pem)
cat /etc/ssl/certs/ca-certificates.crt "$simca" > "$trust" 2>/dev/null || cat "$simca" > "$trust"
export SSL_CERT_FILE=$trust

# A new user's options, as an installed copy lays them out (today's engines
# asked), with eight parallel fetches; the demo ticks the drawn ten too.
if [ ! -f "$prog/search.txt" ]; then
  { cat dist/search.txt; printf '8\r\n'; } > "$prog/search.txt"
fi

if [ -n "${DISPLAY:-}" ]; then
  "$prog/orvalen"
  exit 0
fi

# No display: the real window runs under Xvfb through a scripted search,
# retrieval and export, and leaves its files and pictures in demo/.
demo=$PWD/demo
rm -rf "$demo" && mkdir -p "$demo"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
rc=0
DISPLAY=$display timeout 600 "$prog/orvalen" --demo "$demo" | tee "$demo/demo.log" || rc=$?
DISPLAY=$display import -window root "$demo/desktop.png" 2>/dev/null || true
echo "Demo files in $demo:"
ls -1 "$demo"
# Rows whose page had moved to https and was verified there (status 1);
# the results file keeps the URL the engines gave.
secure=$(grep -c '/secure/[0-9]*\.html,,,,,[01],,,,,1' "$demo/results.rst" 2>/dev/null || true)
echo "Rows verified over https: ${secure:-0}"
[ "${secure:-0}" -gt 0 ] || { echo "the demo verified no page over https" >&2; rc=1; }
# Both kinds of engine brought links: a drawn one and one of today's.
for engine in Excite Bing; do
  links=$(grep -A3 "\"engine\": \"$engine\"" "$demo/results.json" 2>/dev/null | grep -o '"links": [0-9]*' | grep -o '[0-9]*$' || true)
  echo "Links from $engine: ${links:-0}"
  [ "${links:-0}" -gt 0 ] || { echo "the demo took no links from $engine" >&2; rc=1; }
done
exit $rc
