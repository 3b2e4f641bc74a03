#!/usr/bin/env bash
# Sets everything up, builds, and starts the device manager.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/app/orx-device-manager "$@"
