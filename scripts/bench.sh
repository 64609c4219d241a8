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

# The CPUs of a shared virtual machine are not always equally fast: one may
# be slowed from outside the machine, which top does not show, and then the
# renderer's 2-thread scaling is skewed. Time the ray evaluation on each CPU
# first.
cpus=$(nproc)
if command -v taskset >/dev/null && ((cpus >= 2 && cpus <= 4)); then
  echo "Ray evaluation by CPU (the renderer's scaling is only meaningful when these agree):"
  for ((cpu = 0; cpu < cpus; ++cpu)); do
    nanoseconds=$(taskset -c "$cpu" build/bench/bench/tarvelin_bench --benchmark_filter='^Ray/EvaluateRay$' \
      --benchmark_min_time=0.2 2>/dev/null | awk '/EvaluateRay through the handler record/ { print $(NF - 1) }')
    echo "  CPU $cpu: $nanoseconds ns/ray"
  done
  echo
fi

build/bench/bench/tarvelin_bench \
  --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true \
  --benchmark_min_time=0.5 \
  "$@"
