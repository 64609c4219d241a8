#include "module/ModuleEntry.h"

#include "module/CameraHandler.h"
#include "panel/CameraInterface.h"

#if defined(_WIN32)
#define TARVELIN_EXPORT  // exported through the module definition file
#else
#define TARVELIN_EXPORT __attribute__((visibility("default")))
#endif

namespace tarvelin {

std::uintptr_t ModuleStartup() { return 4; }

void ModuleShutdown() {}

const host::ServerEntry serverTable[3] = {
    {host::kCameraHandlerClass, kServerName, ActivateCameraHandler, nullptr},
    {host::kCameraInterfaceClass, kServerName, ActivateCameraInterface, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace tarvelin

// Plain writable data, as the host expects of the record it reads after loading.
extern "C" {
TARVELIN_EXPORT host::ModuleDescriptor _mod_descrip = {
    host::kModuleSyncWord,   host::kModuleDescriptorVersion, host::kModuleMachineWord,
    tarvelin::ModuleStartup, tarvelin::ModuleShutdown,       tarvelin::serverTable,
};
}
