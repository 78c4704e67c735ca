#include "debug/RunningProgram.h"

namespace varn {

namespace {

class ChildProgram : public RunningProgram {
public:
    explicit ChildProgram(Process process) : process_(std::move(process)) {}
    bool ended() override { return process_.poll(); }
    void stop() override {
        process_.kill();
        process_.wait();
    }

private:
    Process process_;
};

}  // namespace

ProgramStarter processStarter() {
    return [](const std::vector<std::string>& argv,
              const ProcessOptions& options) -> Result<std::unique_ptr<RunningProgram>> {
        if (argv.empty()) return makeError("Cannot start an empty command line");
        const std::vector<std::string> args(argv.begin() + 1, argv.end());
        Result<Process> started = Process::start(argv[0], args, options);
        if (!started) return started.error();
        return std::unique_ptr<RunningProgram>(std::make_unique<ChildProgram>(std::move(*started)));
    };
}

}  // namespace varn
