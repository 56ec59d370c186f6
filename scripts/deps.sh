#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, and
# only those that are missing. Usage: scripts/deps.sh [build|test|run|fuzz|bench]
set -euo pipefail
what=${1:-build}

build_pkgs=(cmake ninja-build g++ ccache pkg-config qt6-base-dev libicu-dev libjpeg-dev
            libgtest-dev libgmock-dev libbenchmark-dev libssl-dev
            libyaml-cpp-dev libxml2-dev zlib1g-dev)
test_pkgs=(nginx-light tinyproxy curl poppler-utils xvfb xauth chromium desktop-file-utils appstream)
run_pkgs=(xvfb xauth imagemagick x11-utils)
# clang with libFuzzer's runtime, for fuzz/build.sh
fuzz_pkgs=(clang libclang-rt-dev)
# Peers the benchmarks measure beside Orvalen in the same run.
bench_pkgs=(curl linkchecker nginx-light wget2 python3-doc libxml2-utils)

pkgs=("${build_pkgs[@]}")
case "$what" in
  test) pkgs+=("${test_pkgs[@]}") ;;
  run) pkgs+=("${run_pkgs[@]}") ;;
  fuzz) pkgs+=("${fuzz_pkgs[@]}") ;;
  bench) pkgs+=("${bench_pkgs[@]}") ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
