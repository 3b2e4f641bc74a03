#!/usr/bin/env bash
# Installs what the build, the program and the tests need, from Debian's packages only.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config
      qt6-base-dev qt6-svg-dev libgl1-mesa-dev
      libgtest-dev libgmock-dev googletest
      libusb-1.0-0-dev
      fonts-dejavu-core fonts-liberation2)
bash "$(dirname "$0")/apt-install-missing.sh" "${pkgs[@]}"
