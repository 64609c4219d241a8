#include "workbench/cli/OutputFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "workbench/cli/CommandErrors.h"

namespace workbench::cli {

void CheckOutputFile(const std::filesystem::path& file) {
    const auto fail = [&](const std::string& cause) { throw CommandError(file.string() + ": cannot write: " + cause); };
    if (file.empty() || !file.has_filename()) fail("no file name");
    const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    std::error_code error;
    const auto status = std::filesystem::status(folder, error);
    if (!std::filesystem::exists(status)) fail("the folder " + folder.string() + " does not exist");
    if (!std::filesystem::is_directory(status)) fail(folder.string() + " is not a folder");
    if (std::filesystem::is_directory(file)) fail("it is a folder");
    if (access(folder.c_str(), W_OK | X_OK) != 0) fail(folder.string() + ": " + std::strerror(errno));
}

std::filesystem::path SequenceFile(const std::filesystem::path& file, int frame) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", frame);
    std::filesystem::path numbered = file;
    numbered.replace_filename(file.stem().string() + "." + number + file.extension().string());
    return numbered;
}

}  // namespace workbench::cli
