#!/usr/bin/env bash
# Builds the Debian package: packaging/make-deb.sh [BUILD_DIR [OUT_DIR]]
# BUILD_DIR (default build) is configured and built first; the package is
# written to OUT_DIR (default BUILD_DIR/packages).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
out=$(realpath -m "${2:-$build/packages}")
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELVARA_ASSERTS=OFF >/dev/null
cmake --build "$build" --target telvara telvara-store telvara-render telvara-check -j2
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out"
ls "$out"/telvara_*.deb
