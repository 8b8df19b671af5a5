#!/usr/bin/env bash
# Configures and builds Telvara into build/ (Release with debug info, asserts on).
set -euo pipefail
cd "$(dirname "$0")/.."
# A compiler cache, when one is installed, shortens rebuilds in several work trees.
LAUNCHER=()
if command -v ccache >/dev/null; then
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELVARA_ASSERTS=ON \
  "${LAUNCHER[@]}" >/dev/null
cmake --build build -j2
