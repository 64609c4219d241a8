#pragma once
// The module's entry points as the host reaches them through `_mod_descrip`.

#include <cstdint>

#include "host/ModuleDescriptor.h"

namespace tarvelin {

inline constexpr const char* kServerName = "TarvelinCamera0.1.5";

// Answers 4 and does nothing else.
std::uintptr_t ModuleStartup();

// Does nothing and reads no argument. The settings panel also hands it to the
// host as a callback, so it must stay a function that does nothing.
void ModuleShutdown();

// The two servers, ended by an all-zero entry.
extern const host::ServerEntry serverTable[3];

}  // namespace tarvelin

extern "C" host::ModuleDescriptor _mod_descrip;
