#pragma once
// The errors the workbench reports. Each message names what failed and why,
// so a command line can print it as it stands.

#include <stdexcept>
#include <string>

namespace workbench {

class WorkbenchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A module file that cannot be loaded, started or activated.
class ModuleError : public WorkbenchError {
public:
    using WorkbenchError::WorkbenchError;
};

// A scene file that cannot be read, parsed, applied or written.
class SceneError : public WorkbenchError {
public:
    using WorkbenchError::WorkbenchError;
};

// Misuse of the host session itself (two sessions at once, an unknown item).
class SessionError : public WorkbenchError {
public:
    using WorkbenchError::WorkbenchError;
};

}  // namespace workbench
