#pragma once
// The float stream behind the host's scene load and save states: what a
// module writes into a scene, in order.

#include <cstddef>
#include <vector>

#include "host/SceneState.h"

namespace workbench {

class FloatStream {
public:
    FloatStream() = default;
    explicit FloatStream(std::vector<float> floats) : floats_(std::move(floats)) {}

    const std::vector<float>& floats() const { return floats_; }
    std::size_t readPosition() const { return readPosition_; }
    // True once a read asked for more floats than were left.
    bool overrun() const { return overrun_; }

    // States whose float functions read from or append to this stream; the
    // stream must outlive them.
    host::LoadState loadState();
    host::SaveState saveState();

private:
    static int Read(void* context, float* buffer, int count);
    static int Write(void* context, float* buffer, int count);

    std::vector<float> floats_;
    std::size_t readPosition_ = 0;
    bool overrun_ = false;
};

}  // namespace workbench
