#!/usr/bin/env bash
# Installs what is needed, builds, and starts the simulated device.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build/release"
exec "$root/build/release/src/devsim/velmora-devsim" "$@"
