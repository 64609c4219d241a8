#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>

extern char** environ;

namespace cli_test {

namespace {

[[noreturn]] void Fail(const std::string& what, int error) {
    throw std::runtime_error(what + ": " + std::strerror(error));
}

// Pipe ends that close themselves.
struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) Fail("pipe", errno);
        read = ends[0];
        write = ends[1];
    }
    ~Pipe() {
        if (read >= 0) close(read);
        if (write >= 0) close(write);
    }
    void closeWrite() {
        close(write);
        write = -1;
    }
};

// A pseudo-terminal: the child opens its far end by name; reading the near
// end fails with EIO once the child has closed it.
struct Terminal {
    int read = -1;
    std::string farEnd;
    Terminal() {
        read = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (read < 0) Fail("posix_openpt", errno);
        if (grantpt(read) != 0 || unlockpt(read) != 0) Fail("grantpt", errno);
        farEnd = ptsname(read);
    }
    ~Terminal() { close(read); }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;
};

// Reads both outputs to their ends at once, so neither can fill and stall the child.
void Drain(int outRead, int errRead, std::string& outText, std::string& errText) {
    std::array<pollfd, 2> fds{{{outRead, POLLIN, 0}, {errRead, POLLIN, 0}}};
    std::array<std::string*, 2> texts{&outText, &errText};
    int open = 2;
    while (open > 0) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            Fail("poll", errno);
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t count = ::read(fds[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(count));
            } else if (count == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

}  // namespace

bool PseudoTerminalsAvailable() {
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0) return false;
    close(terminal);
    return true;
}

ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     ChildOutput output) {
    Pipe out;
    Pipe err;
    std::optional<Terminal> terminal;
    if (output == ChildOutput::Terminal) terminal.emplace();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (terminal) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, terminal->farEnd.c_str(), O_RDWR | O_NOCTTY, 0);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    } else {
        posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
    }

    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) Fail("cannot start " + program, spawned);
    out.closeWrite();
    err.closeWrite();

    ChildResult result;
    Drain(out.read, terminal ? terminal->read : err.read, result.out, result.err);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) Fail("waitpid", errno);
    }
    result.exited = WIFEXITED(status);
    if (result.exited) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

}  // namespace cli_test
