#!/usr/bin/env bash
# Runs a command beside a simulated ESC when no real ESC is plugged in.
#
#   tools/with-sim.sh [orx-esc-sim options] -- COMMAND [ARGS...]
#
# The simulator's options go before "--" (default: --kind nvq; see
# `orx-esc-sim --help`, e.g. --kind cp210x). COMMAND runs with
# ORX_VIRTUAL_PORTS pointing at the simulated ESC; the simulator stops when
# COMMAND ends.
#   ORX_SIM=off   never start the simulator (real hardware only)
#   ORX_SIM=on    start it even when a real adapter is plugged in
#   ORX_ESC_SIM   the simulator program (default: build/tools/orx-esc-sim)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
sim="${ORX_ESC_SIM:-$root/build/tools/orx-esc-sim}"

sim_args=()
while [[ $# -gt 0 && "$1" != "--" ]]; do
  sim_args+=("$1")
  shift
done
if [[ $# -eq 0 ]]; then
  echo "usage: $0 [orx-esc-sim options] -- COMMAND [ARGS...]" >&2
  exit 2
fi
shift  # the "--"
[[ ${#sim_args[@]} -eq 0 ]] && sim_args=(--kind nvq)

# A real ESC adapter (CP210x 10c4:ea60 or the NVQ series' own 0483:5740)?
real_device_present() {
  local tty dir
  for tty in /sys/class/tty/ttyUSB* /sys/class/tty/ttyACM*; do
    [[ -e "$tty/device" ]] || continue
    dir="$(readlink -f "$tty/device")"
    while [[ "$dir" != "/" && ! -e "$dir/idVendor" ]]; do dir="$(dirname "$dir")"; done
    [[ -e "$dir/idVendor" ]] || continue
    case "$(cat "$dir/idVendor"):$(cat "$dir/idProduct")" in
      10c4:ea60 | 0483:5740) return 0 ;;
    esac
  done
  return 1
}

mode="${ORX_SIM:-auto}"
if [[ "$mode" == "off" ]] || { [[ "$mode" == "auto" ]] && real_device_present; }; then
  exec "$@"
fi

if [[ ! -x "$sim" ]]; then
  echo "$0: $sim is missing; build first (scripts/build.sh)" >&2
  exit 1
fi

out="$(mktemp)"
"$sim" "${sim_args[@]}" >"$out" &
sim_pid=$!
cleanup() {
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  rm -f "$out"
}
trap cleanup EXIT

line=""
for _ in $(seq 1 100); do
  line="$(head -n 1 "$out")"
  [[ -n "$line" ]] && break
  if ! kill -0 "$sim_pid" 2>/dev/null; then
    echo "$0: the simulated ESC did not start" >&2
    exit 1
  fi
  sleep 0.05
done
if [[ "$line" != ORX_VIRTUAL_PORTS=\'*\' ]]; then
  echo "$0: unexpected output from $sim: $line" >&2
  exit 1
fi
ports="${line#ORX_VIRTUAL_PORTS=\'}"
ports="${ports%\'}"
if [[ -n "${ORX_VIRTUAL_PORTS:-}" ]]; then ports="$ports,$ORX_VIRTUAL_PORTS"; fi
export ORX_VIRTUAL_PORTS="$ports"
echo "Simulated ESC: ORX_VIRTUAL_PORTS='$ports' (ORX_SIM=off for real hardware only)" >&2

"$@"
