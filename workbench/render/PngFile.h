#pragma once
// Pictures written as PNG files.

#include <cstdint>
#include <filesystem>
#include <span>

namespace workbench::render {

// Writes 8-bit RGB (three bytes per pixel, rows from the top) as a PNG file.
// The picture goes to a temporary file beside `file` that is renamed over it
// once complete, so a failed write leaves no half-written file and any
// earlier file as it was. Throws WorkbenchError naming the file and the
// cause, and std::invalid_argument when `rgb` does not hold width × height
// pixels or a side is not positive.
void WritePng(const std::filesystem::path& file, int width, int height, std::span<const std::uint8_t> rgb);

}  // namespace workbench::render
