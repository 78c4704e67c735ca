// Child processes for the external tools: started without a shell in a working
// folder, waited for in slices of 200 milliseconds while the caller keeps its
// window alive, or polled without waiting.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace varn {

struct ProcessOptions {
    std::string workingFolder;   // empty: the current directory
    bool hiddenWindow = true;    // kept for the tools' contract; no effect here
    bool inheritStdHandles = false;  // false: standard handles go to /dev/null
    int stdinFd = -1;            // when >= 0, becomes the child's standard input
    int stdoutFd = -1;           // when >= 0, becomes the child's standard output
    int stderrFd = -1;           // when >= 0, becomes the child's standard error
    std::vector<std::string> extraEnvironment;  // "NAME=value" added to the environment
};

class Process {
public:
    static constexpr int kSliceMs = 200;

    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    // Starts `program` (a path, or a name looked up in PATH) with `args`.
    static Result<Process> start(const std::string& program, const std::vector<std::string>& args,
                                 const ProcessOptions& options = {});

    bool running() const { return pid_ > 0 && !exitCode_; }
    pid_t pid() const { return pid_; }
    // The exit code once the process has ended (a signal gives -1).
    std::optional<int> exitCode() const { return exitCode_; }

    // Checks without waiting; true when the process has ended.
    bool poll();
    // Waits in slices, calling `pump` after each slice that finds it still running.
    int wait(const std::function<void()>& pump = {});
    void kill();

private:
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
};

// Splits a command line with the Windows quoting rules: blanks separate
// arguments, double quotes group, backslashes escape quotes only when they
// precede one. The program name (first word) takes quotes but no escapes.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// One argument of a Windows-style command line, for the texts written for
// Windows programs (batch files, shell parameters): in double quotes, a quote
// inside escaped as \" and the backslashes before it doubled, so that
// splitCommandLine gives the argument back whole.
std::string quoteArgument(const std::string& argument);

}  // namespace varn
