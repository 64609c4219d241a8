#pragma once
// The module descriptor and server table through which the host finds a
// module's servers. The host reads `_mod_descrip` once after loading the file.

#include <cstdint>

#include "host/Layout.h"
#include "host/Activation.h"

namespace host {

inline constexpr std::uint32_t kModuleSyncWord = 0x04121994u;
inline constexpr std::uint32_t kModuleDescriptorVersion = 3;
inline constexpr std::uint32_t kModuleMachineWord = 0x300;

struct ServerEntry {
    const char* className;
    const char* serverName;
    ActivateFunction activate;
    const void* tags;
};

struct ModuleDescriptor {
    std::uint32_t syncWord;
    std::uint32_t version;
    std::uint32_t machine;
    std::uintptr_t (*startup)();  // called once after loading
    void (*shutdown)();           // called once before unloading
    const ServerEntry* servers;   // ended by an all-zero entry
};

HOST_CHECK_SLOT(ServerEntry, className, 0, 0);
HOST_CHECK_SLOT(ServerEntry, serverName, 1, 4);
HOST_CHECK_SLOT(ServerEntry, activate, 2, 8);
HOST_CHECK_SLOT(ServerEntry, tags, 3, 12);
static_assert(sizeof(ServerEntry) == 4 * sizeof(void*));

HOST_CHECK_BYTE(ModuleDescriptor, syncWord, 0);
HOST_CHECK_BYTE(ModuleDescriptor, version, 4);
HOST_CHECK_BYTE(ModuleDescriptor, machine, 8);
static_assert(!kPointerIs32Bit || offsetof(ModuleDescriptor, startup) == 12);
static_assert(!kPointerIs32Bit || offsetof(ModuleDescriptor, shutdown) == 16);
static_assert(!kPointerIs32Bit || offsetof(ModuleDescriptor, servers) == 20);
// Natural C layout in the native 64-bit build: three words, then three pointers.
static_assert(kPointerIs32Bit || (offsetof(ModuleDescriptor, startup) == 16 &&
                                  offsetof(ModuleDescriptor, shutdown) == 24 &&
                                  offsetof(ModuleDescriptor, servers) == 32));

}  // namespace host
