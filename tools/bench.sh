#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/tools/install-deps.sh"
build="$top/build/bench"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSPECTREL_TESTS=OFF -DSPECTREL_WITH_QT=OFF
cmake --build "$build" --target spectrel_bench
exec "$build/spectrel_bench" "$@"
