#!/usr/bin/env bash
# The Qt-free core, trv-cli, trv-sim and their tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer (the first error ends the program) and run; then a bounded fuzz run of
# every target. With clang the fuzz targets are libFuzzer programs, else replay drivers of the corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${SAN_BUILD_DIR:-build-san}
CC_ARGS=()
FUZZ=OFF
if command -v clang++-14 >/dev/null 2>&1 &&
   compgen -G "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null; then
  CC_ARGS=(-DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_C_COMPILER=clang-14)
  FUZZ=ON
fi
command -v ccache >/dev/null 2>&1 && CC_ARGS+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRV_BUILD_GUI=OFF \
    -DTRV_SANITIZE=ON -DTRV_FUZZ="$FUZZ" "${CC_ARGS[@]}" >/dev/null
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The package checks build a .deb, and the kill tests judge the file system's state, not memory: both
# say nothing more here than in the ordinary build, and the kill tests take minutes under the sanitizers.
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 600 -j "$(nproc)" -E '^(packaging|CrashRuns)\.'
bash scripts/fuzz.sh
