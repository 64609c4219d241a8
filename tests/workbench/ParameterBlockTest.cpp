// The parameter block in a scene's float stream: exact for every double, and a
// clear error text for a block that is cut short or garbled.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "workbench/ParameterBlock.h"

namespace {

using namespace workbench;

// Reads from a vector as the host's load state would, delivering fewer floats
// at the end.
struct VectorReader {
    std::vector<float> floats;
    std::size_t position = 0;
    int operator()(float* buffer, int count) {
        int delivered = 0;
        while (delivered < count && position < floats.size()) buffer[delivered++] = floats[position++];
        return delivered;
    }
};

std::uint64_t Bits(double value) { return std::bit_cast<std::uint64_t>(value); }

const double kAwkwardDoubles[] = {
    0.0,
    -0.0,
    2.6217,
    -1.0 / 3.0,
    std::numeric_limits<double>::max(),
    std::numeric_limits<double>::lowest(),
    std::numeric_limits<double>::denorm_min(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::quiet_NaN(),
    std::bit_cast<double>(std::uint64_t{0x7ff4000000000123}),  // a signalling NaN with a payload
    std::bit_cast<double>(std::uint64_t{0xffffffffffffffff}),
};

TEST(ParameterBlock, EveryDoubleSurvivesItsThreeChunks) {
    for (double value : kAwkwardDoubles) {
        const auto chunks = EncodeDouble(value);
        for (float chunk : chunks) {
            EXPECT_EQ(chunk, std::floor(chunk));  // whole numbers, exact in a float
            EXPECT_LT(chunk, 4194304.0f);
        }
        double decoded = 0.0;
        ASSERT_TRUE(DecodeDouble(chunks.data(), decoded));
        EXPECT_EQ(Bits(decoded), Bits(value)) << value;
    }
}

TEST(ParameterBlock, KeyedParameterRoundTripsExactly) {
    ParameterBlock saved{64, Envelope(std::numeric_limits<double>::quiet_NaN(),
                                      {{-0.5, 0.1, Interpolation::Linear},
                                       {0.0, -0.0, Interpolation::Stepped},
                                       {1.0 / 3.0, 2.6217, Interpolation::Spline},
                                       {7.25, std::numeric_limits<double>::infinity(), Interpolation::Linear}})};
    VectorReader reader{EncodeParameterBlock(saved)};
    ParameterBlock loaded;
    ASSERT_EQ(DecodeParameterBlock(std::ref(reader), loaded), nullptr);
    EXPECT_EQ(reader.position, reader.floats.size());
    EXPECT_EQ(loaded.type, 64);
    EXPECT_EQ(Bits(loaded.envelope.constant()), Bits(saved.envelope.constant()));
    ASSERT_EQ(loaded.envelope.keys().size(), saved.envelope.keys().size());
    for (std::size_t i = 0; i < saved.envelope.keys().size(); ++i) {
        const Key& expected = saved.envelope.keys()[i];
        const Key& actual = loaded.envelope.keys()[i];
        EXPECT_EQ(Bits(actual.time), Bits(expected.time)) << "key " << i;
        EXPECT_EQ(Bits(actual.value), Bits(expected.value)) << "key " << i;
        EXPECT_EQ(actual.interpolation, expected.interpolation) << "key " << i;
    }
}

TEST(ParameterBlock, EveryShortenedBlockIsCutShort) {
    const std::vector<float> whole =
        EncodeParameterBlock({16, Envelope(1.0, {{0.0, 1.0}, {1.0, 2.0, Interpolation::Linear}})});
    int checked = 0;
    for (std::size_t length = 0; length < whole.size(); ++length) {
        VectorReader reader{{whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)}};
        ParameterBlock block{99, Envelope(42.0)};
        EXPECT_STREQ(DecodeParameterBlock(std::ref(reader), block), kBlockCutShort) << "length " << length;
        EXPECT_EQ(block.type, 99) << "a failed load changed the block";
        EXPECT_EQ(block.envelope, Envelope(42.0));
        ++checked;
    }
    EXPECT_EQ(checked, 21);  // header 3, constant 3, count 1, two keys of 7
}

TEST(ParameterBlock, GarbledBlocksAreRefused) {
    // Floats 0–2 header, 3–5 constant, 6 key count, 7–9 time, 10–12 value, 13 shape.
    const std::vector<float> good = EncodeParameterBlock({32, Envelope(0.0, {{1.0, 0.5}, {2.0, 0.25}})});
    struct Case {
        const char* name;
        std::size_t index;
        float replacement;
        const char* expected;
    };
    const Case cases[] = {
        {"another tag", 0, 1.0f, kBlockNotAParameter},
        {"a later format", 1, 2.0f, kBlockUnknownVersion},
        {"a fractional type", 2, 32.5f, kBlockGarbled},
        {"a chunk that is not whole", 4, 0.5f, kBlockGarbled},
        {"a negative chunk", 5, -1.0f, kBlockGarbled},
        {"a high chunk beyond 22 bits", 3, 4194304.0f, kBlockGarbled},
        {"a low chunk beyond 21 bits", 9, 2097152.0f, kBlockGarbled},
        {"a NaN chunk", 8, std::numeric_limits<float>::quiet_NaN(), kBlockGarbled},
        {"a key count past the limit", 6, static_cast<float>(kMaxBlockKeys + 1), kBlockGarbled},
        {"a key count larger than the data", 6, 3.0f, kBlockCutShort},
        {"an unknown shape", 13, 3.0f, kBlockGarbled},
        // The second key's time's high chunk set to 0 makes it a tiny positive
        // number, earlier than the first key's 1.0.
        {"keys out of order", 14, 0.0f, kBlockGarbled},
    };
    for (const Case& c : cases) {
        VectorReader reader{good};
        reader.floats[c.index] = c.replacement;
        ParameterBlock block;
        EXPECT_STREQ(DecodeParameterBlock(std::ref(reader), block), c.expected) << c.name;
        EXPECT_EQ(block.envelope, Envelope()) << c.name;
    }
}

}  // namespace
