#include "workbench/FloatStream.h"

#include <algorithm>
#include <new>

namespace workbench {

host::LoadState FloatStream::loadState() {
    host::LoadState state{};
    state.context = this;
    state.readFloats = Read;
    return state;
}

host::SaveState FloatStream::saveState() {
    host::SaveState state{};
    state.context = this;
    state.writeFloats = Write;
    return state;
}

int FloatStream::Read(void* context, float* buffer, int count) {
    auto& stream = *static_cast<FloatStream*>(context);
    if (count <= 0) return 0;
    const std::size_t left = stream.floats_.size() - stream.readPosition_;
    const std::size_t delivered = std::min(left, static_cast<std::size_t>(count));
    if (delivered < static_cast<std::size_t>(count)) stream.overrun_ = true;
    std::copy_n(stream.floats_.begin() + static_cast<std::ptrdiff_t>(stream.readPosition_), delivered, buffer);
    stream.readPosition_ += delivered;
    return static_cast<int>(delivered);
}

// Called from module code, which cannot take an exception: running out of
// memory answers 0 floats written.
int FloatStream::Write(void* context, float* buffer, int count) {
    auto& stream = *static_cast<FloatStream*>(context);
    if (count <= 0) return 0;
    try {
        stream.floats_.insert(stream.floats_.end(), buffer, buffer + count);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return count;
}

}  // namespace workbench
