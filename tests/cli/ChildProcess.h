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

// Throws std::runtime_error when the program cannot be started.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace cli_test
