#!/usr/bin/env bash
# Builds the modules without Qt, their tests and the command-line tools for
# Windows x86-64 with MinGW-w64 into build-windows/, runs the tests under
# Wine, then checks the Windows tools against the Linux ones on real stores
# (tests/windows/tools.sh). Installs what it needs from Debian's packages.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

# What the cross-build needs: the compiler, Wine, GoogleTest's sources.
PACKAGES=(mingw-w64 wine wine64 googletest nlohmann-json3-dev cmake ninja-build)
missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

LAUNCHER=()
if command -v ccache >/dev/null; then
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DTELVARA_GTEST_SOURCE=/usr/src/googletest \
  -DTELVARA_WITH_QT=OFF -DTELVARA_BENCH=OFF "${LAUNCHER[@]}" >/dev/null
cmake --build build-windows -j2

# The Linux tools the Windows ones are compared with: those of build/ when
# it is there, else a build without Qt of just the two tools.
LINUX=build
if [ ! -f build/build.ninja ]; then
  LINUX=build-windows/linux
  cmake -S . -B "$LINUX" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELVARA_WITH_QT=OFF \
    -DTELVARA_BENCH=OFF "${LAUNCHER[@]}" >/dev/null
fi
cmake --build "$LINUX" -j2 --target telvara-store telvara-check

# A Wine of our own under build-windows/, made once and kept. Its server
# stays up for the whole run (each program starts faster) and is stopped at
# the end. No windows: no display, no Mono or Gecko installer.
export WINEPREFIX="$ROOT/build-windows/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
# Debian's wine64 binary directly: the wine wrapper asks for wine32 first.
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing Wine in $WINEPREFIX (once)"
  "$WINE" wineboot --init </dev/null >/dev/null 2>&1 || true
  "$WINESERVER" -w
fi
# The server and Wine's own services stay up for the whole run. They are
# started here, away from any pipe: a service holding a pipe's end would
# keep a reader of the tests' output waiting.
"$WINESERVER" -p </dev/null >/dev/null 2>&1 || true # (one may be up already)
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
"$WINE" wineboot </dev/null >/dev/null 2>&1 || true
export TELVARA_WINE="$WINE"

ctest --test-dir build-windows --output-on-failure --timeout 900

tests/windows/tools.sh "$LINUX/tools" build-windows/tools build-windows/tests/windows
