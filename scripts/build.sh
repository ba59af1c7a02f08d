#!/usr/bin/env bash
# Configures and builds everything into build/ (override with BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
GEN=()
command -v ninja >/dev/null 2>&1 && GEN=(-G Ninja)
# A compiler cache makes rebuilds of a fresh checkout on the same machine quick.
command -v ccache >/dev/null 2>&1 && GEN+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" "${GEN[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
