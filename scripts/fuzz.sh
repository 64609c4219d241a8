#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/), replays their seeds and kept crash
# inputs, then fuzzes each for a bounded time. FUZZ_SECONDS sets the time per
# target (default 8); new inputs go to build/fuzz/work/, crash inputs to
# build/fuzz/artifacts/, never into the committed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-8}"
targets=(scene_data frame_rays panel scene_file hints)

scripts/install-deps.sh
cmake --preset fuzz
cmake --build --preset fuzz
ctest --preset fuzz

mkdir -p build/fuzz/artifacts
for target in "${targets[@]}"; do
  work="build/fuzz/work/$target"
  mkdir -p "$work"
  options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build/fuzz/artifacts/$target-")
  if [ -f "fuzz/$target.dict" ]; then options+=(-dict="fuzz/$target.dict"); fi
  echo "Fuzzing $target for ${seconds}s"
  if ! "build/fuzz/fuzz/fuzz_$target" "${options[@]}" "$work" "fuzz/corpus/$target" > "build/fuzz/$target.log" 2>&1; then
    tail -n 60 "build/fuzz/$target.log"
    echo "fuzz_$target failed; its input is in build/fuzz/artifacts/ (keep it in fuzz/regressions/$target/ once fixed)"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units' "build/fuzz/$target.log" || true
done
