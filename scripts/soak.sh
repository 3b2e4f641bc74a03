#!/usr/bin/env bash
# Soak: plugs and unplugs a simulated NVQ series ESC CYCLES times (default 300)
# under the running device manager, behind one stable path listed in
# ORX_VIRTUAL_PORTS, and reports the program's open descriptors, resident
# memory and missed detections. Not part of CI: it takes a while.
#
# Plugging starts a simulator and points the stable path at its terminal;
# unplugging removes the path and ends the simulator, so the terminal vanishes
# as a pulled cable would. A detection counts when the program holds the
# terminal open within DETECT_SECONDS; a release when it lets go again.
set -euo pipefail
cd "$(dirname "$0")/.."
cycles="${1:-300}"
detect_seconds="${DETECT_SECONDS:-6}"
app=build/app/orx-device-manager
sim=build/tools/orx-esc-sim
[ -x "$app" ] && [ -x "$sim" ] || bash scripts/build.sh

dir=$(mktemp -d)
esc="$dir/esc"
app_pid="" sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT

QT_QPA_PLATFORM=offscreen ORX_INSTANCE_SOCKET="$dir/instance.sock" \
  ORX_VIRTUAL_PORTS="VID_0483&PID_5740=$esc" "$app" >"$dir/app.log" 2>&1 &
app_pid=$!

fds() { ls "/proc/$app_pid/fd" | wc -l; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$app_pid/status"; }
holds() { ls -l "/proc/$app_pid/fd" 2>/dev/null | grep -q -- "-> $1\$"; }
wait_for() {  # wait_for SECONDS COMMAND...: true once COMMAND holds
  local end=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -ge $end ] && return 1; sleep 0.05; done
}

sleep 2
kill -0 "$app_pid" || { echo "the device manager did not start" >&2; cat "$dir/app.log" >&2; exit 1; }
fd_start=$(fds) rss_start=$(rss_kb)
missed=0 stuck=0 fd_max=$fd_start rss_max=$rss_start
for ((i = 1; i <= cycles; i++)); do
  : >"$dir/sim.out"
  "$sim" --kind nvq >"$dir/sim.out" 2>&1 &
  sim_pid=$!
  wait_for 5 grep -q '^ORX_VIRTUAL_PORTS=' "$dir/sim.out" || { echo "cycle $i: the simulator did not start" >&2; exit 1; }
  port=$(sed -n "s/^ORX_VIRTUAL_PORTS=.*=\([^']*\)'*\$/\1/p" "$dir/sim.out" | head -n1)
  pty=$(readlink -f "$port")  # the simulator names its terminal through a link of its own
  ln -sfn "$port" "$esc"
  if wait_for "$detect_seconds" holds "$pty"; then
    sleep "0.$((RANDOM % 10))"  # unplug at a different moment of the read each time
  else
    missed=$((missed + 1))
  fi
  rm -f "$esc"
  kill "$sim_pid"; wait "$sim_pid" 2>/dev/null || true
  sim_pid=""
  wait_for "$detect_seconds" bash -c "! ls -l /proc/$app_pid/fd 2>/dev/null | grep -q -- '-> $pty\$'" || stuck=$((stuck + 1))
  kill -0 "$app_pid" || { echo "cycle $i: the device manager died" >&2; cat "$dir/app.log" >&2; exit 1; }
  f=$(fds) r=$(rss_kb)
  [ "$f" -gt "$fd_max" ] && fd_max=$f
  [ "$r" -gt "$rss_max" ] && rss_max=$r
  if [ $((i % 50)) -eq 0 ]; then echo "cycle $i: fds $f, RSS $r kB, missed $missed, not released $stuck"; fi
done
sleep 2
echo "cycles: $cycles"
echo "open descriptors: $fd_start at start, $(fds) at end, at most $fd_max"
echo "resident memory: $rss_start kB at start, $(rss_kb) kB at end, at most $rss_max kB"
echo "missed detections: $missed; ports not released after unplugging: $stuck"
[ "$missed" -eq 0 ] && [ "$stuck" -eq 0 ]
