#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. Without a reader board on a serial port the
# program uses the built-in virtual reader board.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/tools/install-deps.sh"
build="$top/build/release"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSPECTREL_TESTS=OFF
cmake --build "$build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting with QT_QPA_PLATFORM=offscreen (set DISPLAY to see the window)." >&2
  export QT_QPA_PLATFORM=offscreen
fi
exec "$build/spectrel" "$@"
