// Watch requests against the desktop runtime stopped at its first statement:
// one request (code 10 with a variable name) and its reply per iteration,
// over the real debugger link in the IDE role with VarnWin.exe as the child.
// The median and the 99th percentile of the round trips are reported as
// counters; the target is a median under 1 ms.
//
// The runtime and the compiler are taken from VARN_SHARE_DIR when it is set,
// else from share/varn beside the bench folder of the build.
#include <benchmark/benchmark.h>
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/Ui.h"
#include "debug/DebugMessage.h"
#include "debug/DebuggerLink.h"
#include "platform/Process.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace DC = varn::DebugCode;

constexpr int kRequests = 1000;

class SilentUi : public varn::Ui {
public:
    varn::Answer message(const varn::Message& m) override {
        std::fprintf(stderr, "bench_debug: %s\n", m.text.c_str());
        return varn::defaultAnswerOf(m);
    }
    std::vector<std::string> openFiles(const varn::FileDialog&) override { return {}; }
    std::optional<std::string> saveFile(const varn::FileDialog&) override { return std::nullopt; }
};

std::string shareDir() {
    if (const char* env = std::getenv("VARN_SHARE_DIR"); env && *env) return env;
    char exe[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return "share/varn";
    std::string path(exe, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/')) + "/../share/varn";
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

const std::string kProgram =
    "total = 41;\n"
    "label = \"watch me\";\n"
    "function startup()\n"
    "  a = total + 1;\n"
    "  b = label + \"!\";\n"
    "end;\n";

// A runtime stopped before the first statement of startup, and the IDE's
// end of the link to it.
struct StoppedRuntime {
    SilentUi ui;
    varn::DebuggerLink link;
    varn::Process process;
    std::string folder;
    std::string error;

    StoppedRuntime() {
        const std::string share = shareDir();
        char pattern[] = "/tmp/varn_bench_debug.XXXXXX";
        folder = ::mkdtemp(pattern);
        const std::string source = folder + "/main.vsl";
        const std::string program = folder + "/main.vsp";
        writeFile(source, kProgram);
        writeFile(folder + "/varn_c.opt",
                  "-win32\r\n-output=" + program + "\r\n-define:IDE__PASS=1\r\n" + source + "\r\n-define:IDE__PASS=2\r\n");
        varn::ProcessOptions compileOptions;
        compileOptions.workingFolder = folder;
        auto compiler = varn::Process::start(share + "/varn_c.exe", {folder + "/varn_c.opt"}, compileOptions);
        if (!compiler || compiler->wait() != 0) {
            error = "cannot compile with " + share + "/varn_c.exe";
            return;
        }
        if (!link.openIde(ui)) {
            error = "cannot open the link";
            return;
        }
        varn::ProcessOptions options;
        options.workingFolder = folder;
        options.inheritStdHandles = true;
        options.stdinFd = link.runtimeInputFd();
        options.stdoutFd = link.runtimeOutputFd();
        auto started = varn::Process::start(share + "/VarnWin.exe", {program, "-Debugger", "VarnIdeMain"}, options);
        if (!started) {
            error = "cannot start " + share + "/VarnWin.exe";
            return;
        }
        process = std::move(*started);
        link.setPeerAlive([this] { return !process.poll(); });
        // File list, breakpoints; local names, acknowledged; the first stop.
        if (link.receive(true) != DC::kFileList) {
            fail("no file list");
            return;
        }
        link.send(DC::kBreakpoints, varn::buildBreakpointPairs({}));
        if (link.receive(true) != DC::kLocalNames) {
            fail("no local names");
            return;
        }
        link.send(DC::kLocalsAck, {});
        if (link.receive(true) != DC::kStopped) fail("no stop");
    }
    ~StoppedRuntime() {
        if (process.running()) {
            link.send(DC::kQuit, {});
            const auto until = Clock::now() + std::chrono::seconds(2);
            while (!process.poll() && Clock::now() < until) ::usleep(1000);
            if (!process.poll()) process.kill();
            process.wait();
        }
        std::remove((folder + "/main.vsl").c_str());
        std::remove((folder + "/main.vsp").c_str());
        std::remove((folder + "/varn_c.opt").c_str());
        std::remove((folder + "/varn_c.log").c_str());
        ::rmdir(folder.c_str());
    }
    void fail(const char* what) { error = std::string(what) + " from the runtime (code " + std::to_string(link.code) + ")"; }
};

double percentile(std::vector<double> sorted, double p) {
    std::sort(sorted.begin(), sorted.end());
    const std::size_t i = std::min(sorted.size() - 1, static_cast<std::size_t>(p * static_cast<double>(sorted.size())));
    return sorted[i];
}

void BM_WatchRequest(benchmark::State& state) {
    StoppedRuntime runtime;
    if (!runtime.error.empty()) {
        state.SkipWithError(runtime.error.c_str());
        return;
    }
    const varn::Payload request = varn::buildText("total");
    std::vector<double> micros;
    micros.reserve(kRequests);
    for (auto _ : state) {
        const auto start = Clock::now();
        runtime.link.send(DC::kWatchValue, request);
        const std::uint32_t code = runtime.link.receive(true);
        const auto end = Clock::now();
        if (code != DC::kWatchValue ||
            varn::readText(runtime.link.payload(), runtime.link.payloadLength()).value_or("") != "41") {
            state.SkipWithError("wrong reply");
            return;
        }
        const double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
    }
    state.counters["median_us"] = percentile(micros, 0.5);
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.counters["max_us"] = *std::max_element(micros.begin(), micros.end());
}
BENCHMARK(BM_WatchRequest)->Iterations(kRequests)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
