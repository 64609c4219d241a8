#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them: each benchmark five times,
# interleaved at random so that the machine's noise falls on all of them
# alike, then a summary of the medians. Extra arguments go to the benchmark
# program (for instance --benchmark_filter=Ray).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset bench
cmake --build --preset bench -j2
build/bench/bench/tarvelin_bench \
  --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true \
  --benchmark_min_time=0.5 \
  "$@"
