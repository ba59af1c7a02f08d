#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the desktop program with its demo analyser.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
if [ -x "$BUILD_DIR/src/app/trv" ]; then
  exec "$BUILD_DIR/src/app/trv" --demo "$@"
fi
exec "$BUILD_DIR/tools/cli/trv-cli" --help
