#!/usr/bin/env bash
# Profiles `tarvelin render` on one thread under valgrind's callgrind and
# prints, per demo scene, where its instructions go: the camera's ray
# evaluation, Embree's intersection and occlusion calls, the renderer's
# shading and pixel sampling, and the rest. Instruction counts, not time:
# they do not depend on the machine's load, but an instruction of Embree's
# vectorised traversal and one of the camera's divisions do not cost the
# same time.
#
#   bash scripts/profile-render.sh [SCENE...]   (default: miniature architecture plain tabletop)
#   SPP=8 bash scripts/profile-render.sh plain  (samples per pixel, default 4)
#
# Each scene takes about half a minute under callgrind at the scene's own
# resolution and 4 samples per pixel. The profiles stay in build/profile-render/
# for callgrind_annotate or kcachegrind.
#
# Where `perf` is installed (Debian's linux-perf), each scene is also sampled
# natively by the clock (cpu-clock: this machine has no hardware counters) at
# 16 samples per pixel, for the share of time by library; that one depends on
# the machine's load.
set -euo pipefail
cd "$(dirname "$0")/.."

spp="${SPP:-4}"
scenes=("$@")
if ((${#scenes[@]} == 0)); then scenes=(miniature architecture plain tabletop); fi

scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build build/bench -j2 --target tarvelin
out=build/profile-render
mkdir -p "$out"

# The inclusive count of the first function whose line holds `pattern`.
inclusive() {
  local count
  count=$(grep -F -m1 -- "$2" "$1" | awk '{gsub(",", "", $1); print $1}')
  echo "${count:-0}"
}

# The share of clock samples in the libraries whose names start with `prefix`.
share() { awk -v prefix="$2" 'index($2, prefix) == 1 { sum += $1 } END { printf "%.1f %%", sum }' "$1"; }

percent() { awk -v part="$1" -v whole="$2" 'BEGIN { printf "%6.2f %%", 100 * part / whole }'; }

for scene in "${scenes[@]}"; do
  profile="$out/callgrind.$scene.out"
  valgrind --tool=callgrind --callgrind-out-file="$profile" \
    build/bench/tarvelin render "demo:$scene" --out "$out/$scene.png" --threads 1 --spp "$spp" \
    >"$out/$scene.stdout" 2>"$out/$scene.valgrind.log"
  callgrind_annotate --inclusive=yes --threshold=100 "$profile" >"$out/$scene.annotated.txt" 2>/dev/null
  a="$out/$scene.annotated.txt"

  total=$(inclusive "$a" "PROGRAM TOTALS")
  frame=$(inclusive "$a" "???:workbench::render::RenderFrame(")
  module=$(inclusive "$a" "tarvelin::EvaluateRay(")
  camera=$(inclusive "$a" "workbench::CameraInstance::evaluateRay(")
  hit=$(inclusive "$a" "???:rtcIntersect1 [")
  blocked=$(inclusive "$a" "???:rtcOccluded1 [")
  intersect=$(inclusive "$a" "workbench::render::RayScene::intersect(")
  occluded=$(inclusive "$a" "workbench::render::RayScene::occluded(")
  shade=$(inclusive "$a" "workbench::render::Shade(")
  sampling=$(inclusive "$a" "workbench::render::SamplePixel(")
  build=$(inclusive "$a" "workbench::render::RayScene::RayScene(")
  png=$(inclusive "$a" "workbench::render::WritePng(")
  # "wrote FILE (frame N, WxH)"
  size=$(grep -o '[0-9]*x[0-9]*)' "$out/$scene.stdout" | tr -d ')')
  rays=$((${size%x*} * ${size#*x} * spp))

  echo
  echo "demo:$scene, $size, $spp samples per pixel ($rays camera rays), 1 thread:" \
    "$total instructions in all, $frame in RenderFrame"
  echo "  share of RenderFrame's instructions (inclusive)"
  echo "  camera: EvaluateRay in the module file            $(percent "$module" "$frame")"
  echo "  camera: with the workbench's call into it          $(percent "$camera" "$frame")"
  echo "  Embree: rtcIntersect1                              $(percent "$hit" "$frame")"
  echo "  Embree: rtcOccluded1 (shadow rays)                 $(percent "$blocked" "$frame")"
  echo "  hit records around them (RayScene)                 $(percent "$((intersect + occluded - hit - blocked))" "$frame")"
  echo "  shading, less its intersection calls (Shade)       $(percent "$((shade - intersect - occluded))" "$frame")"
  echo "  pixel sampling (SamplePixel)                       $(percent "$sampling" "$frame")"
  echo "  Embree scene build (RayScene)                      $(percent "$build" "$frame")"
  echo "  rest of RenderFrame (loop, film points, set-up)    $(percent "$((frame - camera - shade - sampling - build))" "$frame")"
  echo "  outside RenderFrame, of all: PNG writing $(percent "$png" "$total"), the rest $(percent "$((total - frame - png))" "$total")"
  echo "  camera / Embree's two calls: $(awk -v c="$module" -v e="$((hit + blocked))" 'BEGIN { printf "%.3f", c / e }')"
  echo "  instructions per camera ray: EvaluateRay $((module / rays)), with the call $((camera / rays))," \
    "rtcIntersect1 $((hit / rays)), rtcOccluded1 $((blocked / rays)), SamplePixel $((sampling / rays))"

  if command -v perf >/dev/null; then
    perf record -q -e cpu-clock -F 4000 -o "$out/perf.$scene.data" \
      build/bench/tarvelin render "demo:$scene" --out "$out/$scene.png" --threads 1 --spp 16 >/dev/null 2>&1
    perf report -i "$out/perf.$scene.data" --stdio --sort dso 2>/dev/null >"$out/$scene.perf.txt"
    p="$out/$scene.perf.txt"
    echo "  time by clock samples (perf, 16 samples per pixel, the whole command): module file" \
      "$(share "$p" TarvelinCam.so), Embree $(share "$p" libembree3.so), the program $(share "$p" tarvelin)," \
      "libm $(share "$p" libm.so), zlib $(share "$p" libz.so)"
  fi
done
