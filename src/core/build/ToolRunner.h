// Runs an external tool with its arguments in a working folder and waits for
// it in slices, pumping the window between slices.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace varn {

struct ToolRun {
    bool started = false;
    int exitCode = -1;
};

class ToolRunner {
public:
    // Each argument reaches the tool as one argument, whatever blanks or
    // quotes it holds; no command line is built or split on the way. The
    // working folder is made current while the tool starts and restored afterwards.
    static ToolRun run(const std::string& program, const std::vector<std::string>& args,
                       const std::string& workingFolder, bool hidden, bool wait, const std::function<void()>& pump);
};

}  // namespace varn
