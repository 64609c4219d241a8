#pragma once
// The picture files the commands write.

#include <filesystem>

namespace workbench::cli {

// Checks before any work that `file` can be written: its folder exists and
// may be written in, and the name is not a folder. Throws CommandError naming
// the file and the cause.
void CheckOutputFile(const std::filesystem::path& file);

// The file of one frame of a sequence: the frame number, four digits or more,
// goes before the extension (out/shot.png → out/shot.0012.png).
std::filesystem::path SequenceFile(const std::filesystem::path& file, int frame);

}  // namespace workbench::cli
