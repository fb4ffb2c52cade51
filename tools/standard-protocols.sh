#!/bin/sh
# Regenerates the "Protocols Section" of the shipped data/SPX.ini: every standard protocol learned by Spectrel
# from its generator on the virtual board. Run it after changing a generator or the list of shipped protocols,
# then commit data/SPX.ini.
set -eu
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/dev}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSPECTREL_BENCH=OFF
fi
cmake --build "$build" --target spectrel-standard-protocols
"$build/spectrel-standard-protocols" data/SPX.ini "$@"
