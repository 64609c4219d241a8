#pragma once
// Runs a program as a child process with no input and answers what it wrote
// and how it ended.

#include <string>
#include <vector>

namespace cli_test {

struct ChildResult {
    bool exited = false;  // false: ended by a signal (a crash)
    int exitCode = -1;
    int signal = 0;
    std::string out;
    std::string err;
};

// Where the child's output goes: stdout and stderr to pipes of their own, or
// both to one pseudo-terminal, as when a user runs it; all of it then
// arrives in `err`, in the order written, with lines ended by "\r\n".
enum class ChildOutput { Pipes, Terminal };

// Whether this machine can open a pseudo-terminal (a container may have none).
bool PseudoTerminalsAvailable();

// Throws std::runtime_error when the program cannot be started.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     ChildOutput output = ChildOutput::Pipes);

}  // namespace cli_test
