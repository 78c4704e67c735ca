// A program started by Run or Debug and watched in idle time, and the
// starter that makes one. The real starter runs a child process; tests put
// a scripted stand-in in its place.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Process.h"
#include "platform/Result.h"

namespace varn {

class RunningProgram {
public:
    virtual ~RunningProgram() = default;
    // Looks without waiting; true once the program has ended or cannot be watched.
    virtual bool ended() = 0;
    // Ends the program at once.
    virtual void stop() = 0;
    // What the program wrote to its error stream since the last call.
    virtual std::string takeErrorText() { return {}; }
    // The exit code once the program has ended (-1 for a signal); none before.
    virtual std::optional<int> exitCode() const { return std::nullopt; }
};

// Starts argv[0] with the rest of argv as arguments, without waiting.
using ProgramStarter = std::function<Result<std::unique_ptr<RunningProgram>>(const std::vector<std::string>& argv,
                                                                             const ProcessOptions& options)>;

// The starter that runs a child process.
ProgramStarter processStarter();

}  // namespace varn
