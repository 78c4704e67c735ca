#include "build/ToolRunner.h"

#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace varn {

ToolRun ToolRunner::run(const std::string& program, const std::vector<std::string>& args,
                        const std::string& workingFolder, bool hidden, bool wait, const std::function<void()>& pump) {
    std::string previous = fsys::currentDirectory();
    if (!workingFolder.empty()) fsys::changeDirectory(workingFolder);
    ProcessOptions options;
    options.workingFolder = workingFolder;
    options.hiddenWindow = hidden;
    auto process = Process::start(program, args, options);
    ToolRun result;
    if (process) {
        result.started = true;
        if (wait) result.exitCode = process->wait(pump);
    }
    if (!workingFolder.empty()) fsys::changeDirectory(previous);
    return result;
}

}  // namespace varn
