#!/usr/bin/env bash
# Installs what the sanitizer and fuzzing builds need on top of install-deps.sh:
# Debian's clang and its runtime libraries (ASan, UBSan, libFuzzer).
set -euo pipefail
pkgs=(clang-14 libclang-rt-14-dev)
bash "$(dirname "$0")/apt-install-missing.sh" "${pkgs[@]}"
