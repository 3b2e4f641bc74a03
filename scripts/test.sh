#!/usr/bin/env bash
# Sets everything up, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
# Slow link tests spend their time waiting on time-outs, so run more than one per core.
ctest --test-dir build --output-on-failure -j 6 --timeout 300
