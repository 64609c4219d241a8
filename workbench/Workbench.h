#pragma once
// A host session with a camera module loaded and its "CameraHandler" server
// activated, made and torn down in the order the host keeps: session first,
// then the module, then the handler; Stages made from it must go before it.

#include <filesystem>

#include "workbench/CameraHandler.h"
#include "workbench/HostSession.h"
#include "workbench/ModuleLibrary.h"

namespace workbench {

class Workbench {
public:
    // Throws SessionError while another session is active, ModuleError when
    // the module cannot be loaded or activated.
    explicit Workbench(const std::filesystem::path& moduleFile) : module_(moduleFile), handler_(module_, session_) {}

    HostSession& session() { return session_; }
    const ModuleLibrary& module() const { return module_; }
    const CameraHandler& handler() const { return handler_; }

private:
    HostSession session_;
    ModuleLibrary module_;
    CameraHandler handler_;
};

}  // namespace workbench
