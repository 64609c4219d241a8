// The stand-in host's scene-file parser with any text.
//
// Invariants: the parser gives a scene or throws SceneError, never another
// exception and never a crash; a scene that can be written out (every number
// finite) reads back as an equal scene, and writing that again gives the same
// text.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "workbench/Errors.h"
#include "workbench/SceneFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    workbench::Scene scene;
    try {
        scene = workbench::ParseScene(text, "fuzz.json");
    } catch (const workbench::SceneError&) {
        return 0;
    }

    std::string written;
    try {
        written = workbench::FormatScene(scene);
    } catch (const workbench::SceneError&) {
        return 0;  // a number that JSON cannot hold
    }
    const workbench::Scene reread = workbench::ParseScene(written, "written.json");
    FUZZ_CHECK(reread == scene);
    FUZZ_CHECK(workbench::FormatScene(reread) == written);
    return 0;
}
