#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the normal build, then the ASan+UBSan build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

"$root/scripts/build.sh" "$root/build/release"
(cd "$root/build/release" && ctest --output-on-failure -j"$(nproc)")

"$root/scripts/build.sh" "$root/build/asan" -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$root/build/asan" && ctest --output-on-failure -j"$(nproc)")
