#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer, runs them all.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The desktop entry and the AppStream file are validated with these (the checks are skipped without them).
"$top/tools/install-deps.sh" desktop-file-utils appstream
build="$top/build/test"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSPECTREL_SANITIZE=ON -DSPECTREL_BENCH=OFF
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd "$build"
ctest --output-on-failure --timeout 300 -j "$(nproc)"
