#include "workbench/cli/SceneArgument.h"

#include <filesystem>

#include "workbench/Errors.h"
#include "workbench/SceneFile.h"
#include "workbench/cli/CommandErrors.h"
#include "workbench/cli/DemoScenes.h"

namespace workbench::cli {

namespace {

Scene LoadDemo(std::string_view name) {
    std::string known;
    for (const DemoScene& demo : DemoScenes()) {
        if (demo.name == name) return ParseScene(demo.text, std::string(kDemoPrefix) + std::string(name));
        known += (known.empty() ? "" : ", ") + std::string(kDemoPrefix) + std::string(demo.name);
    }
    throw CommandError("no built-in scene " + std::string(kDemoPrefix) + std::string(name) + " (known: " + known + ")");
}

}  // namespace

Scene LoadSceneArgument(const std::string& argument) {
    if (argument.starts_with(kDemoPrefix)) return LoadDemo(std::string_view(argument).substr(kDemoPrefix.size()));
    // A directory opens as a stream and would read as empty, malformed JSON.
    if (std::filesystem::is_directory(argument)) throw SceneError(argument + ": cannot read the scene: a directory");
    return LoadSceneFile(argument);
}

void AddSceneArgument(CLI::App& command, std::string& scene) {
    command.add_option("SCENE", scene, "Scene file, or demo:NAME for a built-in scene")->required()->type_name("");
}

}  // namespace workbench::cli
