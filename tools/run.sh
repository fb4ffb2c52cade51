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
  echo "No display found (set DISPLAY to see the window); looking for the reader board instead:" >&2
  echo "  try also: $build/spectrel-cli learn $top/../shared/signals/01_prinz_dvd_t182.ir" >&2
  exec "$build/spectrel" --detect "$@"
fi
# A first start with no port remembered opens on the virtual reader, so the work area shows at once.
exec "$build/spectrel" --virtual-if-no-port "$@"
