#!/usr/bin/env bash
# Builds with the soak tests registered and runs them (CTest label soak): long randomized round
# trips through the simulated device and the files, and 1000 open/login/close cycles.
# scripts/soak.sh [DIR], DIR defaulting to build/soak.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/soak}
"$root/scripts/build.sh" "$dir" -DVELMORA_SOAK=ON
ctest --test-dir "$dir" -L soak --output-on-failure -j"$(nproc)"
