#pragma once
// A module file loaded the way the host loads one: the library is opened,
// only `_mod_descrip` is looked up, the descriptor is checked, the module's
// start-up runs, and its servers are found by class and server name. The
// module's shutdown runs and the library closes when this object goes.
//
// Every failure throws ModuleError naming the file and the cause.

#include <filesystem>
#include <string>
#include <string_view>

#include "host/ModuleDescriptor.h"

namespace workbench {

inline constexpr std::string_view kCameraServerName = "TarvelinCamera0.1.5";

class ModuleLibrary {
public:
    explicit ModuleLibrary(std::filesystem::path file);
    ~ModuleLibrary();
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    const std::filesystem::path& file() const { return file_; }
    const host::ModuleDescriptor& descriptor() const { return *descriptor_; }

    // The server of that class and name; throws ModuleError when the module
    // has none.
    const host::ServerEntry& server(std::string_view className, std::string_view serverName) const;

    // Activates `server` with the interface version and the host's lookup,
    // handing it `local` (the class's record). Throws ModuleError when the
    // activation answers anything but "activated".
    void activate(const host::ServerEntry& server, int version, host::GlobalLookup lookup, void* local) const;

private:
    [[noreturn]] void fail(const std::string& cause) const;

    std::filesystem::path file_;
    void* library_ = nullptr;
    const host::ModuleDescriptor* descriptor_ = nullptr;
    void* serverData_ = nullptr;  // what start-up answered; handed to each activation
};

}  // namespace workbench
