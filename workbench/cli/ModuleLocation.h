#pragma once
// Where the camera module is: the file the user names, or the module built
// beside this program.

#include <filesystem>
#include <string>

namespace workbench::cli {

inline constexpr const char* kModuleFileName = "TarvelinCam.so";

// `given` made absolute (the loader would search its library path for a bare
// file name), or the module beside the running program when `given` is empty.
// Throws CommandError when the program cannot find its own file.
std::filesystem::path ModulePath(const std::string& given);

}  // namespace workbench::cli
