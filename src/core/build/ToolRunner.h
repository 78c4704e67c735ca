// Runs an external tool from a Windows-style command line in a working folder
// and waits for it in slices, pumping the window between slices.
#pragma once

#include <functional>
#include <string>

namespace varn {

struct ToolRun {
    bool started = false;
    int exitCode = -1;
};

class ToolRunner {
public:
    // The command line is split with Windows quoting rules; the working folder
    // is made current while the tool starts and restored afterwards.
    static ToolRun run(const std::string& commandLine, const std::string& workingFolder, bool hidden, bool wait,
                       const std::function<void()>& pump);
    // "\"path\"": a path as one quoted argument.
    static std::string quoted(const std::string& path) { return "\"" + path + "\""; }
};

}  // namespace varn
