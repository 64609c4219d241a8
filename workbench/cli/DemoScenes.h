#pragma once
// The scenes built into the program, named on the command line as demo:NAME.
// Their text is taken from examples/ at build time.

#include <span>
#include <string_view>

namespace workbench::cli {

struct DemoScene {
    std::string_view name;
    std::string_view text;
};

// In order of name.
std::span<const DemoScene> DemoScenes();

}  // namespace workbench::cli
