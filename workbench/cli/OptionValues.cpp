#include "workbench/cli/OptionValues.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "workbench/cli/CommandErrors.h"

namespace workbench::cli {

namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The whole text as a number from 0, or nothing.
bool ReadWhole(std::string_view text, int& value) {
    if (text.empty() || text.front() == '+' || text.front() == '-') return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Whole numbers that may carry a sign, so "-1" is refused as below the minimum.
bool ReadSigned(std::string_view text, long long& value) {
    if (text.starts_with('+')) text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// The whole text as a decimal number; from_chars takes no leading '+'.
bool ReadNumber(std::string_view text, double& value) {
    if (text.starts_with('+')) text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// Runs a parser as a CLI11 check: an empty answer means the text is good.
template <typename Parse>
CLI::Validator Checking(Parse parse) {
    return CLI::Validator(
        [parse](std::string& text) -> std::string {
            try {
                parse(text);
                return {};
            } catch (const CommandError& error) {
                return error.what();
            }
        },
        "");
}

}  // namespace

int ParseCount(std::string_view text, int minimum) {
    long long value = 0;
    if (!ReadSigned(text, value)) throw CommandError(Quoted(text) + " is not a whole number");
    if (value < minimum) {
        throw CommandError("must be at least " + std::to_string(minimum) + ", not " + std::string(text));
    }
    if (value > std::numeric_limits<int>::max()) throw CommandError(std::string(text) + " is too large");
    return static_cast<int>(value);
}

FrameSpan ParseFrameSpan(std::string_view text) {
    const auto dash = text.find('-');
    FrameSpan span;
    if (dash == std::string_view::npos || !ReadWhole(text.substr(0, dash), span.first) ||
        !ReadWhole(text.substr(dash + 1), span.last)) {
        throw CommandError(Quoted(text) + " is not a frame range FIRST-LAST of frames from 0, such as 0-23");
    }
    if (span.last < span.first) throw CommandError("the frame range " + std::string(text) + " runs backwards");
    return span;
}

PictureSize ParsePictureSize(std::string_view text) {
    const auto cross = text.find('x');
    long long width = 0;
    long long height = 0;
    if (cross == std::string_view::npos || !ReadSigned(text.substr(0, cross), width) ||
        !ReadSigned(text.substr(cross + 1), height)) {
        throw CommandError(Quoted(text) + " is not a size WIDTHxHEIGHT in pixels, such as 640x480");
    }
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) {
        throw CommandError("each side of " + std::string(text) + " must be from 1 to " +
                           std::to_string(kMaxPictureSide) + " pixels");
    }
    return {static_cast<int>(width), static_cast<int>(height)};
}
Vector3 ParsePoint(std::string_view text) {
    Vector3 point{};
    std::string_view rest = text;
    for (std::size_t i = 0; i < point.size(); ++i) {
        const auto comma = rest.find(',');
        const bool last = i + 1 == point.size();
        if ((comma == std::string_view::npos) != last || !ReadNumber(rest.substr(0, comma), point[i])) {
            throw CommandError(Quoted(text) + " is not a point X,Y,Z of three numbers in metres, such as 0,0.75,-1.5");
        }
        if (!last) rest.remove_prefix(comma + 1);
    }
    for (double coordinate : point) {
        if (!std::isfinite(coordinate)) throw CommandError("the point " + std::string(text) + " is not finite");
    }
    return point;
}

CLI::Validator CountOf(int minimum) {
    return Checking([minimum](std::string_view text) { ParseCount(text, minimum); });
}

CLI::Validator FrameSpanText() { return Checking(ParseFrameSpan); }

CLI::Validator PictureSizeText() { return Checking(ParsePictureSize); }

CLI::Validator PointText() { return Checking(ParsePoint); }

}  // namespace workbench::cli
