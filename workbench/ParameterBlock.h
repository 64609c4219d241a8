#pragma once
// The workbench's own format of an animated parameter in a scene's float
// stream. Every number is carried as small whole-valued floats, so the block
// is exact whatever a double holds (NaN included) and whatever keeps floats:
//
//   tag, format version, type code, constant (3), key count,
//   then per key: time (3), value (3), interpolation.
//
// A double's 64 bits go as three chunks of 22, 21 and 21 bits, high first.

#include <array>
#include <functional>
#include <vector>

#include "workbench/Envelope.h"

namespace workbench {

inline constexpr float kParameterBlockTag = 6271.0f;
inline constexpr float kParameterBlockVersion = 1.0f;
inline constexpr int kMaxBlockKeys = 1 << 20;

// The error texts the parameter service answers a failed load with. They
// live as long as the program: the module hands them on to the host as is.
inline constexpr const char* kBlockCutShort = "Parameter block cut short";
inline constexpr const char* kBlockNotAParameter = "Not a parameter block";
inline constexpr const char* kBlockUnknownVersion = "Parameter block of an unknown version";
inline constexpr const char* kBlockGarbled = "Parameter block garbled";

struct ParameterBlock {
    int type = 0;
    Envelope envelope;
};

std::array<float, 3> EncodeDouble(double value);
// False when the three floats are not chunks this encoding makes.
bool DecodeDouble(const float chunks[3], double& value);

std::vector<float> EncodeParameterBlock(const ParameterBlock& block);

// Reads a block through `read(buffer, count)`, which answers how many floats
// it delivered. Answers null and fills `block`, or one of the texts above and
// leaves `block` as it was.
using FloatReader = std::function<int(float* buffer, int count)>;
const char* DecodeParameterBlock(const FloatReader& read, ParameterBlock& block);

}  // namespace workbench
