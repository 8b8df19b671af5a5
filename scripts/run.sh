#!/usr/bin/env bash
# Installs what is needed, builds Telvara and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
# With no argument the example study opens in the chart window.
if [ $# -eq 0 ]; then
  set -- examples/substation.tvstudy
fi
exec build/app/telvara "$@"
