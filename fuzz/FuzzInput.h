#pragma once
// Reads a fuzzer's bytes as a run of fixed-size little-endian fields, from
// the front. Past the end every field reads as zero bytes, so any input,
// however short, is a complete case; the seed files are laid out the same way
// (fuzz/make_seeds.py).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T>
    T take() {
        unsigned char bytes[sizeof(T)] = {};
        const std::size_t available = size_ - position_ < sizeof(T) ? size_ - position_ : sizeof(T);
        if (available > 0) std::memcpy(bytes, data_ + position_, available);
        position_ += available;
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    std::uint8_t byte() { return take<std::uint8_t>(); }
    std::uint32_t word() { return take<std::uint32_t>(); }
    std::int32_t integer() { return take<std::int32_t>(); }
    // Any bit pattern: not-a-number, infinities, subnormals and signed zeros included.
    double number() { return take<double>(); }
    float single() { return take<float>(); }

    bool empty() const { return position_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// A broken invariant: say which and stop, so libFuzzer keeps the input.
[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

}  // namespace fuzz

#define FUZZ_CHECK(condition) ((condition) ? void() : ::fuzz::Fail(#condition, __FILE__, __LINE__))
