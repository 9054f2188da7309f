#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one of them on its seed corpus.
# Usage: scripts/fuzz.sh <target> [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh <target> [seconds]}
seconds=${2:-60}
BUILD=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMERIDEX_FUZZ=ON \
  -DMERIDEX_BUILD_GUI=${MERIDEX_FUZZ_GUI:-OFF}
cmake --build "$BUILD" -j"$(nproc)" --target "$target"
work="$BUILD/corpus/$target"
mkdir -p "$work"
seeds=fuzz/corpus/$target
exec "$BUILD/bin/$target" -max_total_time="$seconds" -timeout=10 "$work" ${seeds:+$( [ -d "$seeds" ] && echo "$seeds")}
