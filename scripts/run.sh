#!/usr/bin/env bash
# Sets everything up, builds, and starts the device manager. When no ESC
# adapter is plugged in, a simulated ESC is started beside it, so the program
# has something to find.
#
#   ORX_SIM=nvq      simulate an NVQ series ESC (the default without hardware)
#   ORX_SIM=cp210x   simulate an older ESC behind the CP210x adapter
#   ORX_SIM=none     never simulate: wait for real hardware
# Other arguments go to the simulator (see build/tools/orx-esc-sim --help).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

real_adapter_present() {
  local dev vid pid
  for dev in /sys/bus/usb/devices/*; do
    [ -r "$dev/idVendor" ] && [ -r "$dev/idProduct" ] || continue
    vid=$(cat "$dev/idVendor") pid=$(cat "$dev/idProduct")
    case "$vid:$pid" in
      10c4:ea60|0483:5740) return 0 ;;
    esac
  done
  return 1
}

kind="${ORX_SIM:-auto}"
if [ "$kind" = auto ]; then
  if real_adapter_present; then kind=none; else kind=nvq; fi
fi

if [ "$kind" = none ]; then
  exec build/app/orx-device-manager
fi

state_dir="${XDG_STATE_HOME:-$HOME/.local/state}/orx-device-manager"
mkdir -p "$state_dir"
out=$(mktemp)
build/tools/orx-esc-sim --kind "$kind" --state "$state_dir/simulated-$kind.state" "$@" >"$out" &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 50); do
  grep -q '^ORX_VIRTUAL_PORTS=' "$out" && break
  kill -0 "$sim" 2>/dev/null || { echo "the simulated ESC did not start" >&2; exit 1; }
  sleep 0.1
done
line=$(grep -m1 '^ORX_VIRTUAL_PORTS=' "$out") || { echo "the simulated ESC did not start" >&2; exit 1; }
eval "export $line"
echo "Simulated $kind ESC: $ORX_VIRTUAL_PORTS"
build/app/orx-device-manager
