#!/usr/bin/env bash
# Builds the .deb: a release build without tests in build/package, then CPack. The package lands in
# build/package/ (spectrel_<version>_<arch>.deb); install it with `sudo apt install ./build/package/spectrel_*.deb`.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/tools/install-deps.sh" dpkg-dev
build="$top/build/package"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSPECTREL_TESTS=OFF -DSPECTREL_BENCH=OFF
cmake --build "$build"
(cd "$build" && cpack -G DEB)
deb="$(ls -t "$build"/spectrel_*.deb | head -n 1)"
echo "Built $deb"
dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Depends\):/\1:/p'
