#!/usr/bin/env bash
# The soak run: LEARNINGS (1000 by default) protocol learnings, each followed by "Learn All" over three buttons, on
# the virtual board in one process and on one analysis context, built with AddressSanitizer and
# UndefinedBehaviorSanitizer (the build of tools/test.sh) and run with leak checking. Prints the resident and peak
# memory (VmRSS, VmHWM) after 10, 100 and 1000 learnings; fails on a leak or any other finding of the sanitizers.
#   tools/soak.sh [LEARNINGS]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/tools/install-deps.sh"
build="$top/build/test"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSPECTREL_SANITIZE=ON -DSPECTREL_BENCH=OFF >/dev/null
cmake --build "$build" --target spectrel_core_tests
export SPECTREL_SOAK_LEARNINGS="${1:-1000}"
# No quarantine of freed memory, so that the resident figures show what the program keeps, not what the sanitizer
# holds back to catch a use after free (the test suite runs with it); leak checking at the end.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=0:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd "$build"
exec ./spectrel_core_tests --gtest_also_run_disabled_tests --gtest_filter='Soak.*'
