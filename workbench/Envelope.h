#pragma once
// An animated value as the host keeps it: keys in time order, or a constant
// when there is none.

#include <string_view>
#include <optional>
#include <vector>

namespace workbench {

// The shape of the curve from a key to the next one.
enum class Interpolation : int {
    Linear = 0,
    Spline = 1,  // Catmull-Rom: a Hermite curve whose slopes come from the neighbouring keys
    Stepped = 2, // holds the key's value until the next key
};

std::string_view InterpolationName(Interpolation interpolation);
std::optional<Interpolation> InterpolationFromName(std::string_view name);

struct Key {
    double time;   // seconds
    double value;
    Interpolation interpolation = Interpolation::Spline;

    bool operator==(const Key&) const = default;
};

class Envelope {
public:
    Envelope() = default;
    explicit Envelope(double constant) : constant_(constant) {}
    Envelope(double constant, std::vector<Key> keys);  // throws std::invalid_argument unless ordered

    // Before the first key and after the last the curve holds that key's
    // value; with no key it is the constant.
    double valueAt(double time) const;

    double constant() const { return constant_; }
    void setConstant(double value) { constant_ = value; }
    const std::vector<Key>& keys() const { return keys_; }
    bool animated() const { return !keys_.empty(); }

    // Adds a key, or replaces the one at exactly that time.
    void setKey(const Key& key);
    void clearKeys() { keys_.clear(); }

    bool operator==(const Envelope&) const = default;

private:
    double constant_ = 0.0;
    std::vector<Key> keys_;  // strictly increasing times
};

}  // namespace workbench
