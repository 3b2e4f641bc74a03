#!/usr/bin/env bash
# Configures and builds build-sanitize/: clang with AddressSanitizer,
# UndefinedBehaviorSanitizer and libFuzzer's coverage hooks. Builds everything,
# or only the targets named as arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/install-sanitize-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# -O1 keeps the build and the instrumented runs quick enough for CI.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DORX_FUZZ=ON "${launcher[@]}" >/dev/null
if [ $# -gt 0 ]; then
  cmake --build build-sanitize -j "$(nproc)" --target "$@"
else
  cmake --build build-sanitize -j "$(nproc)"
fi
