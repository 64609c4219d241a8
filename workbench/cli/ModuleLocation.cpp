#include "workbench/cli/ModuleLocation.h"

#include <system_error>

#include "workbench/cli/CommandErrors.h"

namespace workbench::cli {

std::filesystem::path ModulePath(const std::string& given) {
    if (!given.empty()) return std::filesystem::absolute(given);
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        throw CommandError("cannot find this program's own file to find the module beside it (" + error.message() +
                           "); name the module with --module");
    }
    return program.parent_path() / kModuleFileName;
}

}  // namespace workbench::cli
