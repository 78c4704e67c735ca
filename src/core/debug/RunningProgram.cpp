#include "debug/RunningProgram.h"

#include <fcntl.h>
#include <unistd.h>

namespace varn {

namespace {

class ChildProgram : public RunningProgram {
public:
    ChildProgram(Process process, int errorFd) : process_(std::move(process)), errorFd_(errorFd) {}
    // A program that said it has ended is given a moment to go, then ended,
    // so that no finished runtime is left behind unreaped.
    ~ChildProgram() override {
        for (int i = 0; i < kGraceSlices && !process_.poll(); ++i) ::usleep(kSliceMicroseconds);
        if (!process_.poll()) stop();
        if (errorFd_ >= 0) ::close(errorFd_);
    }
    std::string takeErrorText() override {
        std::string text;
        char buffer[4096];
        for (ssize_t n; errorFd_ >= 0 && (n = ::read(errorFd_, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }
    std::optional<int> exitCode() const override { return process_.exitCode(); }
    bool ended() override { return process_.poll(); }
    void stop() override {
        process_.kill();
        process_.wait();
    }

private:
    static constexpr int kGraceSlices = 50;
    static constexpr int kSliceMicroseconds = 10000;
    Process process_;
    int errorFd_;  // read end of the program's error stream, not blocking; -1 when none
};

}  // namespace

ProgramStarter processStarter() {
    return [](const std::vector<std::string>& argv,
              const ProcessOptions& options) -> Result<std::unique_ptr<RunningProgram>> {
        if (argv.empty()) return makeError("Cannot start an empty command line");
        const std::vector<std::string> args(argv.begin() + 1, argv.end());
        // The error stream comes back through a pipe the IDE reads while it watches.
        int errorPipe[2] = {-1, -1};
        ProcessOptions withErrors = options;
        if (options.stderrFd < 0 && ::pipe2(errorPipe, O_CLOEXEC | O_NONBLOCK) == 0) withErrors.stderrFd = errorPipe[1];
        Result<Process> started = Process::start(argv[0], args, withErrors);
        if (errorPipe[1] >= 0) ::close(errorPipe[1]);
        if (!started) {
            if (errorPipe[0] >= 0) ::close(errorPipe[0]);
            return started.error();
        }
        return std::unique_ptr<RunningProgram>(std::make_unique<ChildProgram>(std::move(*started), errorPipe[0]));
    };
}

}  // namespace varn
