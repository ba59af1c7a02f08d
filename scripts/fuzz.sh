#!/usr/bin/env bash
# Runs every fuzz target of the sanitizer build (scripts/sanitize.sh builds it) from its seed corpus.
#   scripts/fuzz.sh                 20 seconds per target (FUZZ_SECONDS)
#   scripts/fuzz.sh 1000000         one million inputs per target
# New inputs go to BUILD/fuzz-work (never into the seed corpus); an input that breaks a target is
# kept in BUILD/fuzz-crashes and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${SAN_BUILD_DIR:-build-san}
RUNS=${1:-}
SECONDS_EACH=${FUZZ_SECONDS:-20}
TARGETS=(fuzz_trv_file fuzz_device_memory fuzz_link fuzz_csv_import fuzz_text_input)
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

if ! grep -q '^TRV_FUZZ:BOOL=ON' "$BUILD_DIR/CMakeCache.txt" 2>/dev/null; then
  echo "fuzz: $BUILD_DIR has no libFuzzer build (clang missing?); the seed corpus ran as tests there"
  exit 0
fi
mkdir -p "$BUILD_DIR/fuzz-crashes"
status=0
for t in "${TARGETS[@]}"; do
  work="$BUILD_DIR/fuzz-work/$t"
  mkdir -p "$work"
  limit=(-max_total_time="$SECONDS_EACH")
  # With a number of inputs, FUZZ_MAX_SECONDS (if set) still bounds each target's time.
  [ -n "$RUNS" ] && limit=(-runs="$RUNS") && [ -n "${FUZZ_MAX_SECONDS:-}" ] && limit+=(-max_total_time="$FUZZ_MAX_SECONDS")
  log="$BUILD_DIR/fuzz-work/$t.log"
  start=$(date +%s)
  if "$BUILD_DIR/tests/fuzz/$t" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$BUILD_DIR/fuzz-crashes/$t-" "$work" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -40 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "fuzz: $t $result: ${runs:-?} inputs in $(($(date +%s) - start)) s, corpus $(ls "$work" | wc -l) files"
done
exit $status
