#!/usr/bin/env bash
# Builds the Debian package in build/package and prints its path; install it with
#     sudo apt install ./build/package/velmora-configurator_<version>_<arch>.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build/package
"$root/scripts/setup.sh"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_WERROR=ON \
    -DVELMORA_BUILD_BENCH=OFF >/dev/null
# Only what the package holds: the tests are built and run by scripts/test.sh.
cmake --build "$dir" -j"$(nproc)" --target velmora-configurator velmora-cli velmora-devsim \
    velmora-cli-man >&2
rm -f "$dir"/*.deb
(cd "$dir" && cpack -G DEB >&2)
ls "$dir"/*.deb
