#!/usr/bin/env bash
# Times the whole `tarvelin render` command (start-up, scene, module, the
# frame, the PNG file) on the demo scenes with 1 and 2 threads: RUNS runs of
# each (default 5), interleaved, so that the machine's noise falls on all of
# them alike; prints each one's median wall-clock time, its camera rays per
# second and the 2/1-thread scaling. Uses the benchmarks' Release build.
#
#   bash scripts/time-render.sh [SCENE...]   (default: miniature architecture plain tabletop)
#   RUNS=9 SPP=16 bash scripts/time-render.sh
set -euo pipefail
cd "$(dirname "$0")/.."

runs="${RUNS:-5}"
spp="${SPP:-16}"
scenes=("$@")
if ((${#scenes[@]} == 0)); then scenes=(miniature architecture plain tabletop); fi

scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build build/bench -j2 --target tarvelin
out=build/time-render
mkdir -p "$out"
rm -f "$out"/*.seconds

for ((run = 0; run < runs; ++run)); do
  for scene in "${scenes[@]}"; do
    for threads in 1 2; do
      start=$(date +%s.%N)
      build/bench/tarvelin render "demo:$scene" --out "$out/$scene.png" --threads "$threads" --spp "$spp" \
        >"$out/$scene.stdout"
      end=$(date +%s.%N)
      echo "$start $end" | awk '{ print $2 - $1 }' >>"$out/$scene.$threads.seconds"
    done
  done
done

median() { sort -g "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo
echo "tarvelin render, $spp samples per pixel, median of $runs runs (wall-clock, the whole command)"
echo "  scene          size      s 1 thread  Mrays/s  s 2 threads  Mrays/s  2/1 threads"
for scene in "${scenes[@]}"; do
  size=$(grep -o '[0-9]*x[0-9]*)' "$out/$scene.stdout" | tr -d ')')
  rays=$((${size%x*} * ${size#*x} * spp))
  one=$(median "$out/$scene.1.seconds")
  two=$(median "$out/$scene.2.seconds")
  awk -v scene="$scene" -v size="$size" -v rays="$rays" -v one="$one" -v two="$two" \
    'BEGIN { printf "  %-13s  %-8s  %10.3f  %7.2f  %11.3f  %7.2f  %11.2f\n", scene, size, one, rays / one / 1e6, two, rays / two / 1e6, one / two }'
done
