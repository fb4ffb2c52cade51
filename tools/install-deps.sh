#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need (only those missing); packages named
# as arguments are installed as well.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
