#!/usr/bin/env bash
# Builds the Windows command-line tools (scripts/test-windows.sh's cross-build
# in build-windows/) and packs them with their README into
# build-windows/packages/telvara-tools-windows.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build-windows/build.ninja ]; then
  cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DTELVARA_GTEST_SOURCE=/usr/src/googletest -DTELVARA_WITH_QT=OFF -DTELVARA_BENCH=OFF >/dev/null
fi
cmake --build build-windows -j2 --target telvara-store telvara-check
STAGE=build-windows/packages/telvara-tools-windows
rm -rf "$STAGE" "$STAGE.zip"
mkdir -p "$STAGE"
for tool in telvara-store telvara-check; do
  x86_64-w64-mingw32-strip -o "$STAGE/$tool.exe" "build-windows/tools/$tool.exe"
done
# Notepad's line ends.
sed 's/$/\r/' packaging/windows-README.txt >"$STAGE/README.txt"
(cd "$STAGE/.." && cmake -E tar cf telvara-tools-windows.zip --format=zip telvara-tools-windows)
echo "build-windows/packages/telvara-tools-windows.zip"
