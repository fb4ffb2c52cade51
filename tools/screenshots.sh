#!/usr/bin/env bash
# Renders every window headless to PNG files under build/screenshots/ for a person to look at.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The pictures need real fonts; a bare machine has none that Qt finds offscreen.
"$top/tools/install-deps.sh" fonts-liberation2 fontconfig
build="$top/build/release"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSPECTREL_TESTS=OFF -DSPECTREL_BENCH=OFF
cmake --build "$build" --target spectrel-screenshots
export QT_QPA_PLATFORM=offscreen
# The windows' settings go to a scratch home, so the pictures show first-start windows.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
HOME="$scratch" XDG_CONFIG_HOME="$scratch/.config" "$build/spectrel-screenshots" --out "$top/build/screenshots" "$@"
