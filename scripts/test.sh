#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD=${MERIDEX_TEST_BUILD:-build/test}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DMERIDEX_SANITIZE=ON -DMERIDEX_BUILD_BENCH=OFF
cmake --build "$BUILD" -j"$(nproc)"
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"
# Qt and the WebEngine keep caches of their own; the sanitizers watch our code, not theirs.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$BUILD"
# GUI tests get a display of their own.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j"$(nproc)" --timeout 600
