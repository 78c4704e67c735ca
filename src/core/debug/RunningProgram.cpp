#include "debug/RunningProgram.h"

#include <unistd.h>

namespace varn {

namespace {

class ChildProgram : public RunningProgram {
public:
    explicit ChildProgram(Process process) : process_(std::move(process)) {}
    // A program that said it has ended is given a moment to go, then ended,
    // so that no finished runtime is left behind unreaped.
    ~ChildProgram() override {
        for (int i = 0; i < kGraceSlices && !process_.poll(); ++i) ::usleep(kSliceMicroseconds);
        if (!process_.poll()) stop();
    }
    bool ended() override { return process_.poll(); }
    void stop() override {
        process_.kill();
        process_.wait();
    }

private:
    static constexpr int kGraceSlices = 50;
    static constexpr int kSliceMicroseconds = 10000;
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
