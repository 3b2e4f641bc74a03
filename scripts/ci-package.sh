#!/usr/bin/env bash
# Builds the .deb and checks it the way a user meets it: every file in the
# package, the desktop entry and the AppStream metainfo validated, lintian
# without errors, installed with apt-get, and the program started from the
# desktop entry's command under Xvfb until its window shows.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
app_id=com.example.orx.DeviceManager
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

tools=(dpkg-dev desktop-file-utils appstream lintian xvfb xauth x11-utils)
bash "$(dirname "$0")/apt-install-missing.sh" "${tools[@]}"

bash scripts/build.sh
rm -f build/orx-device-manager_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/orx-device-manager_*.deb)
echo "package: $deb"

fail() { echo "ci-package: $*" >&2; exit 1; }

# Every file the package promises, read from the package itself.
expected=(/usr/bin/orx-device-manager /usr/bin/orx-esc-sim /usr/bin/orx-device-manager-demo
          "/usr/share/applications/$app_id.desktop" "/usr/share/metainfo/$app_id.metainfo.xml"
          /usr/lib/udev/rules.d/60-orx-device-manager.rules
          /usr/share/doc/orx-device-manager/copyright /usr/share/doc/orx-device-manager/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
[ -x build/cli/orx-esc ] && expected+=(/usr/bin/orx-esc)
listed=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\.||')
for f in "${expected[@]}"; do
  grep -qxF "$f" <<<"$listed" || fail "$f is not in the package"
done
dpkg-deb -I "$deb" postinst | grep -q 'udevadm control --reload-rules' || fail "postinst does not reload the udev rules"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
rule="$unpacked/usr/lib/udev/rules.d/60-orx-device-manager.rules"
for id in 'ATTRS{idVendor}=="10c4", ATTRS{idProduct}=="ea60"' 'ATTRS{idVendor}=="0483", ATTRS{idProduct}=="5740"' \
          'ATTR{idVendor}=="0483", ATTR{idProduct}=="df11"'; do
  grep -F "$id" "$rule" | grep -q 'TAG+="uaccess"' || fail "the udev rule gives no uaccess for $id"
done
grep -F 'ATTRS{idProduct}=="5740"' "$rule" | grep -q 'ID_MM_DEVICE_IGNORE}="1"' || fail "ModemManager is not told to leave the NVQ series alone"

desktop-file-validate "$unpacked/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/$app_id.metainfo.xml"
lintian --fail-on error "$deb"

export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get install -y -q --reinstall "./$deb" >/dev/null
command=$(sed -n 's/^Exec=//p' "/usr/share/applications/$app_id.desktop" | sed 's/ %[fFuUdDnNickvm]//g')
[ "$(command -v "${command%% *}")" = "/usr/bin/${command%% *}" ] || fail "$command is not the installed program"

# Started as the desktop starts it, with a display and nothing plugged in: its
# window must show. A socket of its own, so a copy running elsewhere is not woken instead.
window_check=$(mktemp)
cat >"$window_check" <<'CHECK'
export ORX_INSTANCE_SOCKET="$(mktemp -u)"
unset QT_QPA_PLATFORM ORX_VIRTUAL_PORTS
$1 &
pid=$!
for _ in $(seq 100); do
  if xwininfo -root -tree | grep -q '"ORX Device Manager V'; then kill "$pid"; wait "$pid" 2>/dev/null; exit 0; fi
  kill -0 "$pid" 2>/dev/null || exit 1
  sleep 0.2
done
kill "$pid"
exit 1
CHECK
xvfb-run -a bash "$window_check" "$command" || { rm -f "$window_check"; fail "$command did not show its window"; }
rm -f "$window_check"
echo "ci-package: the package checks out ($(( $(date +%s) - started )) s)"
