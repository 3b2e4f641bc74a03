#!/usr/bin/env bash
# The Windows build of the core: cross-builds the layers without Qt and their
# tests with mingw-w64 into build-win/, and runs them under wine64. The Win32
# serial backend talks to simulated ESCs (native Linux programs on
# pseudo-terminals) that wine shows as COM5, COM6 and COM7.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# What the cross-build needs, from Debian's packages.
pkgs=(g++-mingw-w64-x86-64-posix wine64 googletest cmake ninja-build)
bash "$(dirname "$0")/apt-install-missing.sh" "${pkgs[@]}"
wine=/usr/lib/wine/wine64  # Debian's wine64 keeps its loader off PATH

# A wine prefix of our own, quiet, with its server kept up between test programs.
export WINEPREFIX="$root/build-win/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p || true  # already up from an earlier run: use it
sims=()
cleanup() {
  for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
  /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
"$wine" wineboot -i >/dev/null 2>&1 || true

# The simulated ESC is a Linux program: build it natively.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target orx-esc-sim -j "$(nproc)"

cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake -DORX_CORE_ONLY=ON -DORX_LIBUSB=OFF >/dev/null
cmake --build build-win -j "$(nproc)"

# start_sim COMn ARGS...: runs a simulated ESC and points wine's COMn at its pty.
start_sim() {
  local com=$1
  shift
  local out="build-win/sim-$com.out"
  build/tools/orx-esc-sim "$@" >"$out" &
  sims+=($!)
  local line=""
  for _ in $(seq 100); do
    line=$(head -n 1 "$out" 2>/dev/null || true)
    [ -n "$line" ] && break
    sleep 0.1
  done
  local pty=${line##*=}
  pty=${pty%\'}
  [ -e "$pty" ] || { echo "ci-windows: no simulated ESC for $com ($line)" >&2; exit 1; }
  ln -sfn "$pty" "$WINEPREFIX/dosdevices/${com,,}"
}
start_sim COM5 --kind cp210x
start_sim COM6 --kind nvq
start_sim COM7 --kind nvq --fault ping:vanish:1 --reappear-ms -1
export ORX_WINE_CP210X_PORT=COM5 ORX_WINE_NVQ_PORT=COM6 ORX_WINE_VANISH_PORT=COM7

# wine now and then fails to start a test program at all (no output, "failed"
# after 0.01 s; seen once in a clean CI run, never reproduced in 600 local
# runs). A failed test gets one more run, and the rerun is named; a real fault
# fails both times.
run_ctest() {
  if ctest --test-dir build-win --output-on-failure --timeout 300 "$@"; then return 0; fi
  echo "ci-windows: running the failed tests once more" >&2
  ctest --test-dir build-win --output-on-failure --timeout 300 --rerun-failed -j 1
}
# The peer tests share the three simulated ESCs, so they run one at a time.
run_ctest -j 4 -E '^Win32(SerialPort|Links)\.'
run_ctest -j 1 -R '^Win32(SerialPort|Links)\.'
