#pragma once
// The renderer's benchmarks, one per demo scene, each frame rendered on one
// and on two threads; registered at run time since their scenes are files.

namespace bench {

void RegisterRenderBenchmarks();

}  // namespace bench
