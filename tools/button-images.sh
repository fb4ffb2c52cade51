#!/bin/sh
# Draws the shipped button pictures again into data/ButtonImages (then commit them).
set -eu
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/dev}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSPECTREL_BENCH=OFF
fi
cmake --build "$build" --target spectrel-button-images
rm -f data/ButtonImages/*.bmp
"$build/spectrel-button-images" data/ButtonImages
