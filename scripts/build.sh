#!/usr/bin/env bash
# Builds both camera modules and the tarvelin program, renders the built-in
# scenes through the module into out/, and says where everything is.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset dev
cmake --build --preset dev

tarvelin=build/dev/tarvelin
mkdir -p out
for scene in miniature architecture plain tabletop; do
  "$tarvelin" render "demo:$scene" --out "out/$scene.png"
done
"$tarvelin" preview demo:miniature --out out/miniature-preview.png
"$tarvelin" panel demo:miniature --out out/miniature-panel.png

echo
echo "Windows module for the host: $(pwd)/build/dev/windows/TarvelinCam.p"
echo "Native module for tests and the stand-in host: $(pwd)/build/dev/TarvelinCam.so"
echo "The tarvelin program: $(pwd)/$tarvelin (run it with --help)"
echo "Pictures of the built-in scenes: $(pwd)/out/ (miniature.png, architecture.png, plain.png,"
echo "  tabletop.png, miniature-preview.png: the interactive view, miniature-panel.png: the panel's tilt diagram)"
