#!/usr/bin/env bash
# Installs every Debian 12 package the project needs. Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev libgl-dev
    libzip-dev libpugixml-dev libfreexl-dev
    libbenchmark-dev
    python3 python3-openpyxl
    xvfb xauth fonts-dejavu-core fonts-wqy-microhei fonts-liberation
    dpkg-dev desktop-file-utils help2man
    clang-format
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    echo "setup: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
