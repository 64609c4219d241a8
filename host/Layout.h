#pragma once
// Helpers for pinning the byte layout of the host's records.
//
// The host is a 32-bit program: every record it shares with a module is laid
// out in 32-bit words, with doubles 8-byte aligned as on Win32. The same
// declarations also serve the native 64-bit build, where each pointer-sized
// word or slot widens to 8 bytes and keeps its slot number.

#include <cstddef>
#include <cstdint>

namespace host {

inline constexpr bool kPointerIs32Bit = sizeof(void*) == 4;

// Byte offset of pointer-sized slot `slot` in a record made of such slots.
constexpr std::size_t SlotOffset(std::size_t slot) { return slot * sizeof(void*); }

// A slot the module never calls or reads; it keeps the later slots in place.
using UnusedSlot = void*;

}  // namespace host

// Checks a field's slot number in every build and its byte offset where a
// pointer is 4 bytes (the host's own layout).
#define HOST_CHECK_SLOT(Record, field, slot, byte32)                              \
    static_assert(offsetof(Record, field) == ::host::SlotOffset(slot),           \
                  #Record "::" #field " must sit in slot " #slot);                \
    static_assert(!::host::kPointerIs32Bit || offsetof(Record, field) == (byte32), \
                  #Record "::" #field " must sit at byte " #byte32 " in the 32-bit layout")

// Checks a field that sits at the same byte offset in every build.
#define HOST_CHECK_BYTE(Record, field, byte) \
    static_assert(offsetof(Record, field) == (byte), #Record "::" #field " must sit at byte " #byte)
