#!/usr/bin/env bash
# Sets up, builds and starts k3config: on the keyboard when a K3 is attached,
# otherwise on the simulated keyboard.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh"
build=${K3_BUILD_DIR:-$root/build}
if grep -qsi '04D9:A1CD' /sys/bus/hid/devices/*/uevent 2>/dev/null; then
    exec "$build/bin/k3config"
fi
echo "No K3 attached: starting on the simulated keyboard." >&2
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$build/bin/k3config-sim"
fi
exec "$build/bin/k3config-sim"
