#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer), writes the seed corpus from the demo folder
# and the test fixtures, and runs every target for FUZZ_SECONDS seconds.
#
# usage: scripts/fuzz.sh [BUILD_DIR]   (environment: FUZZ_SECONDS, default 60;
#        FUZZ_TARGETS, default all; JOBS, default the number of processors)
# Each target keeps the inputs it found in BUILD_DIR/fuzz/corpus/NAME, and a
# crashing input in BUILD_DIR/fuzz/crash-NAME-*. The summary line of each run
# (executions, coverage) is printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-$(nproc)}
targets=${FUZZ_TARGETS:-"bitmap cursor midi wave fields script settings ranking save glyphs"}

# The build runs sanitized programs (the demo generator); the system's font
# library keeps a few allocations to the end, which are no fault of ours.
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
export ASAN_OPTIONS=detect_leaks=0
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDOVETAIL_FUZZ=ON -DDOVETAIL_DESKTOP=OFF -DDOVETAIL_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs"

fuzz="$build/fuzz"
"$fuzz/dovetail-fuzz-seeds" "$build/data" "$fuzz/seeds"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

summary=()
status=0
for target in $targets; do
  mkdir -p "$fuzz/corpus/$target"
  log="$fuzz/$target.log"
  echo "fuzz-$target: ${seconds} s"
  if ! "$fuzz/fuzz-$target" "$fuzz/corpus/$target" "$fuzz/seeds/$target" \
      -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$fuzz/crash-$target-" >"$log" 2>&1; then
    echo "fuzz-$target FAILED; see $log" >&2
    tail -40 "$log" >&2
    status=1
  fi
  done_line=$(grep -E '^#[0-9]+.*DONE|^Done [0-9]+ runs' "$log" | tail -1 || true)
  cov_line=$(grep -E 'cov: [0-9]+' "$log" | tail -1 || true)
  summary+=("fuzz-$target: ${done_line:-no summary} | last: ${cov_line}")
done
printf '%s\n' "${summary[@]}"
exit $status
