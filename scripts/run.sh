#!/usr/bin/env bash
# Installs what is missing, builds in Release and runs the main job: the alert engine
# replaying a bundled sample trading day.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD=${MERIDEX_RELEASE_BUILD:-build/release}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DMERIDEX_BUILD_TESTS=OFF -DMERIDEX_BUILD_BENCH=OFF
cmake --build "$BUILD" -j"$(nproc)"
exec "$BUILD/bin/meridex-replay" --stats tools/replay/sample tools/replay/sample/day.txt
