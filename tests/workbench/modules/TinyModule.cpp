// A minimal module whose descriptor or servers are wrong in one way, chosen
// at build time, to check that the workbench refuses it with a clear error.
//
//   TINY_SYNC, TINY_VERSION, TINY_MACHINE   the descriptor's three words
//   TINY_STARTUP                            what start-up answers
//   TINY_NO_SERVERS                         an empty server table
//   TINY_ACTIVATION_STATUS                  what every activation answers
//   TINY_NO_DESCRIPTOR                      exports no _mod_descrip at all

#include "host/ModuleDescriptor.h"

#ifndef TINY_SYNC
#define TINY_SYNC host::kModuleSyncWord
#endif
#ifndef TINY_VERSION
#define TINY_VERSION host::kModuleDescriptorVersion
#endif
#ifndef TINY_MACHINE
#define TINY_MACHINE host::kModuleMachineWord
#endif
#ifndef TINY_STARTUP
#define TINY_STARTUP 1
#endif
#ifndef TINY_ACTIVATION_STATUS
#define TINY_ACTIVATION_STATUS 0
#endif

namespace {

std::uintptr_t Startup() { return TINY_STARTUP; }
void Shutdown() {}

[[maybe_unused]] int Activate(int, host::GlobalLookup, void*, void*) { return TINY_ACTIVATION_STATUS; }

const host::ServerEntry servers[] = {
#ifndef TINY_NO_SERVERS
    {"CameraHandler", "TarvelinCamera0.1.5", Activate, nullptr},
    {"CameraInterface", "TarvelinCamera0.1.5", Activate, nullptr},
#endif
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

#ifdef TINY_NO_DESCRIPTOR
#define TINY_DESCRIPTOR_NAME tiny_descriptor
#else
#define TINY_DESCRIPTOR_NAME _mod_descrip
#endif

extern "C" {
__attribute__((visibility("default"))) host::ModuleDescriptor TINY_DESCRIPTOR_NAME = {
    TINY_SYNC, TINY_VERSION, TINY_MACHINE, Startup, Shutdown, servers,
};
}
