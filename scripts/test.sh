#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test:
# the full build, then the Qt-free modules again under ASan and UBSan, then
# for Windows under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
# Tests on a real X display depend on timing; one retry keeps a loaded
# machine from failing them, while a real fault still fails twice.
ctest --test-dir build --output-on-failure -j2 --timeout 600 --repeat until-pass:2

LAUNCHER=()
if command -v ccache >/dev/null; then
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DTELVARA_WITH_QT=OFF -DTELVARA_SANITIZE=ON "${LAUNCHER[@]}" >/dev/null
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2 --timeout 600

# The modules without Qt and the command-line tools built for Windows and
# tested under Wine, the tools compared with the Linux ones.
./scripts/test-windows.sh
