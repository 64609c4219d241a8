#pragma once
// How the command line ends: its exit statuses and the two kinds of failure
// it reports, each as one line on stderr.

#include <stdexcept>

namespace workbench::cli {

inline constexpr int kExitSuccess = 0;
// The work failed: a scene, module or output file it could not use.
inline constexpr int kExitFailure = 1;
// The command line itself is wrong: an unknown command or option, a value
// out of range, options that exclude each other.
inline constexpr int kExitUsage = 2;

// A failure the command line finds itself, beside the workbench's own errors.
class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace workbench::cli
