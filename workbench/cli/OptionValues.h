#pragma once
// Values of the commands' options, read from their text: counts, frames,
// frame ranges, picture sizes and points. Each parser throws CommandError saying what
// is wrong with the text; each validator gives CLI11 the same check.

#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "workbench/Rotation.h"

namespace workbench::cli {

struct FrameSpan {
    int first = 0;
    int last = 0;
};

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The largest side a picture may have.
inline constexpr int kMaxPictureSide = 16384;

// A whole number of at least `minimum`.
int ParseCount(std::string_view text, int minimum);
// "A-B", two frame numbers from 0 with A ≤ B.
FrameSpan ParseFrameSpan(std::string_view text);
// "WxH", both sides from 1 to kMaxPictureSide.
PictureSize ParsePictureSize(std::string_view text);
// "X,Y,Z", three finite numbers: a point in the scene, in metres.
Vector3 ParsePoint(std::string_view text);

CLI::Validator CountOf(int minimum);
CLI::Validator FrameSpanText();
CLI::Validator PictureSizeText();
CLI::Validator PointText();

}  // namespace workbench::cli
