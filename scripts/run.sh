#!/usr/bin/env bash
# Installs what is needed, builds, and starts the configurator on a simulated device.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build/release"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are unset): the configurator is a" >&2
    echo "desktop window. Run it from a desktop session, or under a virtual display:" >&2
    echo "    xvfb-run -a $root/build/release/src/app/velmora-configurator --demo" >&2
    exit 1
fi
exec "$root/build/release/src/app/velmora-configurator" --demo "$@"
