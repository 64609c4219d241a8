#include "workbench/ParameterBlock.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace workbench {

namespace {

constexpr int kLowBits = 21;
constexpr std::uint64_t kLowMask = (std::uint64_t{1} << kLowBits) - 1;
constexpr std::uint64_t kHighLimit = std::uint64_t{1} << 22;

// The whole number a float holds, when it holds one below `limit`.
bool WholeBelow(float chunk, std::uint64_t limit, std::uint64_t& out) {
    if (!(chunk >= 0.0f) || chunk != std::floor(chunk) || chunk >= static_cast<float>(limit)) return false;
    out = static_cast<std::uint64_t>(chunk);
    return true;
}

}  // namespace

std::array<float, 3> EncodeDouble(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    return {static_cast<float>(bits >> (2 * kLowBits)), static_cast<float>((bits >> kLowBits) & kLowMask),
            static_cast<float>(bits & kLowMask)};
}

bool DecodeDouble(const float chunks[3], double& value) {
    std::uint64_t high = 0, middle = 0, low = 0;
    if (!WholeBelow(chunks[0], kHighLimit, high) || !WholeBelow(chunks[1], kLowMask + 1, middle) ||
        !WholeBelow(chunks[2], kLowMask + 1, low)) {
        return false;
    }
    value = std::bit_cast<double>((high << (2 * kLowBits)) | (middle << kLowBits) | low);
    return true;
}

std::vector<float> EncodeParameterBlock(const ParameterBlock& block) {
    std::vector<float> floats = {kParameterBlockTag, kParameterBlockVersion, static_cast<float>(block.type)};
    auto append = [&](double value) {
        const auto chunks = EncodeDouble(value);
        floats.insert(floats.end(), chunks.begin(), chunks.end());
    };
    append(block.envelope.constant());
    floats.push_back(static_cast<float>(block.envelope.keys().size()));
    for (const Key& key : block.envelope.keys()) {
        append(key.time);
        append(key.value);
        floats.push_back(static_cast<float>(static_cast<int>(key.interpolation)));
    }
    return floats;
}

const char* DecodeParameterBlock(const FloatReader& read, ParameterBlock& block) {
    auto readExactly = [&](float* buffer, int count) { return read(buffer, count) == count; };
    auto readDouble = [&](double& value, const char*& error) {
        float chunks[3];
        if (!readExactly(chunks, 3)) {
            error = kBlockCutShort;
            return false;
        }
        if (!DecodeDouble(chunks, value)) {
            error = kBlockGarbled;
            return false;
        }
        return true;
    };

    float header[3];
    if (!readExactly(header, 3)) return kBlockCutShort;
    if (header[0] != kParameterBlockTag) return kBlockNotAParameter;
    if (header[1] != kParameterBlockVersion) return kBlockUnknownVersion;
    std::uint64_t type = 0;
    if (!WholeBelow(header[2], 1u << 16, type)) return kBlockGarbled;

    const char* error = nullptr;
    double constant = 0.0;
    if (!readDouble(constant, error)) return error;
    float countField = 0.0f;
    if (!readExactly(&countField, 1)) return kBlockCutShort;
    std::uint64_t keyCount = 0;
    if (!WholeBelow(countField, kMaxBlockKeys + 1, keyCount)) return kBlockGarbled;

    std::vector<Key> keys;
    for (std::uint64_t i = 0; i < keyCount; ++i) {
        Key key{};
        if (!readDouble(key.time, error) || !readDouble(key.value, error)) return error;
        float shape = 0.0f;
        if (!readExactly(&shape, 1)) return kBlockCutShort;
        std::uint64_t shapeCode = 0;
        if (!WholeBelow(shape, 3, shapeCode)) return kBlockGarbled;
        key.interpolation = static_cast<Interpolation>(shapeCode);
        // Keys must come in strictly increasing, finite time order.
        if (!std::isfinite(key.time) || (!keys.empty() && !(keys.back().time < key.time))) return kBlockGarbled;
        keys.push_back(key);
    }
    block.type = static_cast<int>(type);
    block.envelope = Envelope(constant, std::move(keys));
    return nullptr;
}

}  // namespace workbench
