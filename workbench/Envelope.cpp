#include "workbench/Envelope.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace workbench {

namespace {

constexpr std::array<std::string_view, 3> kInterpolationNames = {"linear", "spline", "stepped"};

// Slope at key i from its neighbours; one-sided at the ends, so two keys of
// spline shape give a straight line.
double Slope(const std::vector<Key>& keys, std::size_t i) {
    const std::size_t before = i == 0 ? 0 : i - 1;
    const std::size_t after = std::min(i + 1, keys.size() - 1);
    if (before == after) return 0.0;
    return (keys[after].value - keys[before].value) / (keys[after].time - keys[before].time);
}

}  // namespace

std::string_view InterpolationName(Interpolation interpolation) {
    return kInterpolationNames.at(static_cast<std::size_t>(interpolation));
}

std::optional<Interpolation> InterpolationFromName(std::string_view name) {
    for (std::size_t i = 0; i < kInterpolationNames.size(); ++i) {
        if (kInterpolationNames[i] == name) return static_cast<Interpolation>(i);
    }
    return std::nullopt;
}

Envelope::Envelope(double constant, std::vector<Key> keys) : constant_(constant), keys_(std::move(keys)) {
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (!std::isfinite(keys_[i].time)) throw std::invalid_argument("a key's time is not a finite number");
        if (i > 0 && !(keys_[i - 1].time < keys_[i].time)) {
            throw std::invalid_argument("keys are not in strictly increasing time order");
        }
    }
}

double Envelope::valueAt(double time) const {
    if (keys_.empty()) return constant_;
    if (time <= keys_.front().time) return keys_.front().value;
    if (time >= keys_.back().time) return keys_.back().value;

    // The segment [keys_[i], keys_[i + 1]) that holds the time.
    const auto next = std::upper_bound(keys_.begin(), keys_.end(), time,
                                       [](double t, const Key& key) { return t < key.time; });
    const std::size_t i = static_cast<std::size_t>(next - keys_.begin()) - 1;
    const Key& from = keys_[i];
    const Key& to = keys_[i + 1];
    const double span = to.time - from.time;
    const double s = (time - from.time) / span;

    switch (from.interpolation) {
    case Interpolation::Stepped:
        return from.value;
    case Interpolation::Linear:
        return from.value + (to.value - from.value) * s;
    case Interpolation::Spline:
        break;
    }
    const double s2 = s * s;
    const double s3 = s2 * s;
    const double h00 = 2.0 * s3 - 3.0 * s2 + 1.0;
    const double h10 = s3 - 2.0 * s2 + s;
    const double h01 = -2.0 * s3 + 3.0 * s2;
    const double h11 = s3 - s2;
    return h00 * from.value + h10 * span * Slope(keys_, i) + h01 * to.value + h11 * span * Slope(keys_, i + 1);
}

void Envelope::setKey(const Key& key) {
    if (!std::isfinite(key.time)) throw std::invalid_argument("a key's time is not a finite number");
    const auto at = std::lower_bound(keys_.begin(), keys_.end(), key.time,
                                     [](const Key& existing, double t) { return existing.time < t; });
    if (at != keys_.end() && at->time == key.time) {
        *at = key;
    } else {
        keys_.insert(at, key);
    }
}

}  // namespace workbench
