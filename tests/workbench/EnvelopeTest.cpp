// Envelopes: how keyed values are interpolated, and how keys are kept.

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "workbench/Envelope.h"

namespace {

using workbench::Envelope;
using workbench::Interpolation;
using workbench::Key;

struct ValueCase {
    const char* name;
    Envelope envelope;
    double time;
    double expected;
};

// Three keys: 0 at 0 s, 10 at 1 s, 0 at 3 s.
Envelope Peak(Interpolation shape) { return Envelope(5.0, {{0.0, 0.0, shape}, {1.0, 10.0, shape}, {3.0, 0.0, shape}}); }

TEST(Envelope, ValueAtTime) {
    // Spline slopes: key 0 one-sided (10), key 1 central ((0 − 0) / 3 = 0),
    // key 2 one-sided (−5). At 0.5 s the Hermite curve gives
    // 0.5 × 0 + 0.125 × 1 × 10 + 0.5 × 10 − 0.125 × 1 × 0 = 6.25.
    const ValueCase cases[] = {
        {"unkeyed answers its constant", Envelope(2.5), 7.0, 2.5},
        {"before the first key holds it", Peak(Interpolation::Linear), -4.0, 0.0},
        {"after the last key holds it", Envelope(0.0, {{1.0, 3.0}, {2.0, 8.0}}), 9.0, 8.0},
        {"one key holds everywhere", Envelope(0.0, {{1.0, 3.0}}), -1.0, 3.0},
        {"on a key", Peak(Interpolation::Spline), 1.0, 10.0},
        {"linear between keys", Peak(Interpolation::Linear), 2.0, 5.0},
        {"linear at a quarter", Peak(Interpolation::Linear), 0.25, 2.5},
        {"stepped holds the earlier key", Peak(Interpolation::Stepped), 2.9, 10.0},
        {"spline uses neighbouring slopes", Peak(Interpolation::Spline), 0.5, 6.25},
        {"two spline keys make a line", Envelope(0.0, {{0.0, 0.0}, {2.0, 4.0}}), 0.5, 1.0},
        {"shape is the segment's first key's",
         Envelope(0.0, {{0.0, 0.0, Interpolation::Stepped}, {1.0, 10.0, Interpolation::Linear}, {2.0, 0.0}}), 0.5,
         0.0},
    };
    for (const ValueCase& c : cases) {
        EXPECT_DOUBLE_EQ(c.envelope.valueAt(c.time), c.expected) << c.name;
    }
}

TEST(Envelope, SplineIsSmoothAcrossAKey) {
    // The slope on both sides of the middle key agrees (no kink).
    const Envelope envelope = Envelope(0.0, {{0.0, 0.0}, {1.0, 2.0}, {2.0, 6.0}});
    const double h = 1e-6;
    const double before = (envelope.valueAt(1.0) - envelope.valueAt(1.0 - h)) / h;
    const double after = (envelope.valueAt(1.0 + h) - envelope.valueAt(1.0)) / h;
    EXPECT_NEAR(before, 3.0, 1e-4);
    EXPECT_NEAR(after, 3.0, 1e-4);
}

TEST(Envelope, SetKeyInsertsInOrderAndReplacesAtTheSameTime) {
    Envelope envelope(1.0);
    envelope.setKey({2.0, 20.0});
    envelope.setKey({0.0, 0.0});
    envelope.setKey({1.0, 10.0, Interpolation::Linear});
    envelope.setKey({2.0, 25.0, Interpolation::Stepped});
    const std::vector<Key> expected = {{0.0, 0.0}, {1.0, 10.0, Interpolation::Linear}, {2.0, 25.0, Interpolation::Stepped}};
    EXPECT_EQ(envelope.keys(), expected);
    EXPECT_EQ(envelope.constant(), 1.0);
}

TEST(Envelope, RefusesKeysOutOfOrderOrAtNoTime) {
    EXPECT_THROW(Envelope(0.0, {{1.0, 0.0}, {1.0, 1.0}}), std::invalid_argument);
    EXPECT_THROW(Envelope(0.0, {{2.0, 0.0}, {1.0, 1.0}}), std::invalid_argument);
    EXPECT_THROW(Envelope(0.0, {{std::nan(""), 0.0}}), std::invalid_argument);
    Envelope envelope;
    EXPECT_THROW(envelope.setKey({INFINITY, 1.0}), std::invalid_argument);
    EXPECT_FALSE(envelope.animated());
}

}  // namespace
