#!/usr/bin/env bash
# Installs every Debian package Telvara needs to build, test and run.
# Non-interactive; does nothing when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsqlite3-dev sqlite3 nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev qt6-translations-l10n
  fonts-ipafont-gothic fonts-ipafont-mincho
  xvfb xauth xdotool x11-utils
  file python3
  cups printer-driver-cups-pdf poppler-utils
  dpkg-dev desktop-file-utils python3-matplotlib x11-apps
  mingw-w64 wine wine64
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
