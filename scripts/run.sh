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

# The same start as the package's demo command, with the programs just built.
ORX_SIM_PROGRAM=build/tools/orx-esc-sim ORX_APP_PROGRAM=build/app/orx-device-manager \
  exec resources/linux/orx-device-manager-demo "$kind" "$@"
