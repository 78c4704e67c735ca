// Find in Files over a generated project of 2,000 VARN sources of about
// 50 KB (100 MB), in list mode, for a plain text with a few hits and for Find
// Function's expression with about 200 hits, case ignored; `grep -rn` and,
// when it is installed, `rg -n` search the same folder in the same run. Every
// iteration runs all of them in turn, so that a busy machine slows each
// alike; the counters give the medians of the wall times and their ratios.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Ui.h"
#include "editor/FindInFiles.h"

namespace {

constexpr int kFiles = 2000;
constexpr std::size_t kFileBytes = 50 * 1024;

const std::string kPlain = "needletext";
const std::string kFunctionName = "total_sum";

class SilentUi : public varn::Ui {
public:
    varn::Answer message(const varn::Message& m) override { return varn::defaultAnswerOf(m); }
    std::vector<std::string> openFiles(const varn::FileDialog&) override { return {}; }
    std::optional<std::string> saveFile(const varn::FileDialog&) override { return std::nullopt; }
};

struct Corpus {
    std::string folder;
    std::vector<std::string> files;
    std::size_t bytes = 0;

    Corpus() {
        char pattern[] = "/tmp/varn_bench_find.XXXXXX";
        folder = ::mkdtemp(pattern);
        std::uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return seed >> 8;
        };
        char line[160];
        for (int f = 0; f < kFiles; ++f) {
            std::string text;
            text.reserve(kFileBytes + 256);
            int n = 0;
            while (text.size() < kFileBytes) {
                unsigned r = next();
                int len = 0;
                if (n % 40 == 0) {
                    len = std::snprintf(line, sizeof line, "function proc_%d_%d(a, b);\r\n", f, n);
                } else if (n % 40 == 39) {
                    len = std::snprintf(line, sizeof line, "end;\r\n");
                } else if (n == 401 && f % 10 == 0) {
                    // Find Function's declarations: one in every tenth file.
                    len = std::snprintf(line, sizeof line, "  function %s (x, y);\r\n", kFunctionName.c_str());
                } else if (n == 801 && f % 400 == 7) {
                    len = std::snprintf(line, sizeof line, "\t# look here: NeedleText number %d\r\n", f);
                } else {
                    switch (r % 5) {
                        case 0:
                            len = std::snprintf(line, sizeof line, "\tx%u = y%u + %u  # update the counter\r\n", r % 97,
                                                r % 89, r % 1000);
                            break;
                        case 1:
                            len = std::snprintf(line, sizeof line, "\tif amount%u > %u then\r\n", r % 50, r % 700);
                            break;
                        case 2:
                            len = std::snprintf(line, sizeof line,
                                                "\t\tmessage \"Value %u is not in the list of names\"\r\n", r % 9999);
                            break;
                        case 3:
                            len = std::snprintf(line, sizeof line, "\tend_if;\r\n");
                            break;
                        default:
                            len = std::snprintf(line, sizeof line, "\t\tcall proc_%u_%u(field%u, \"text\")\r\n",
                                                r % 400, r % 2000, r % 30);
                            break;
                    }
                }
                text.append(line, static_cast<std::size_t>(len));
                ++n;
            }
            std::string path = folder + "/src" + std::to_string(f) + ".vsl";
            std::FILE* out = std::fopen(path.c_str(), "wb");
            if (!out) std::abort();
            std::fwrite(text.data(), 1, text.size(), out);
            std::fclose(out);
            files.push_back(path);
            bytes += text.size();
        }
    }
    ~Corpus() {
        std::string cmd = "rm -rf '" + folder + "'";
        if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", folder.c_str());
    }
};

const Corpus& corpus() {
    static Corpus c;
    return c;
}

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

// Processor time used so far by this process (all its threads) or by its
// finished children, in milliseconds.
double cpuMs(int who) {
    rusage u{};
    ::getrusage(who, &u);
    return (static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e6 +
            static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec)) /
           1000.0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

bool haveRipgrep() {
    static const bool have = std::system("rg --version > /dev/null 2>&1") == 0;
    return have;
}

// The project search into a pane; `threads` 0 is the IDE's own choice.
double timeFind(const varn::FindOptions& options, unsigned threads, int& count) {
    SilentUi ui;
    varn::FindInFiles find(ui);
#if __has_include("editor/LineSearch.h")  // the pool of threads is there
    find.setThreads(threads);
#else
    (void)threads;
#endif
    const auto t = Clock::now();
    varn::TextFindPane pane;
    count = find.list(corpus().files, options, pane).count;
    benchmark::DoNotOptimize(pane.text.data());
    return msSince(t);
}

// A command over the folder, its output to a file (GNU grep stops at the
// first match when it writes to /dev/null); the number of lines it wrote.
double timeCommand(const std::string& command, int& lines) {
    const std::string out = corpus().folder + ".out";
    const std::string cmd = command + " '" + corpus().folder + "' > '" + out + "'";
    const auto t = Clock::now();
    if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", cmd.c_str());
    const double ms = msSince(t);
    lines = 0;
    if (std::FILE* in = std::fopen(out.c_str(), "rb")) {
        for (int c; (c = std::fgetc(in)) != EOF;) lines += c == '\n';
        std::fclose(in);
    }
    std::remove(out.c_str());
    return ms;
}

// The expressions hold real tab characters, as grep's ERE wants them.
void compare(benchmark::State& state, const varn::FindOptions& options) {
    (void)corpus();
    std::vector<double> find, find1, grep, rg, findCpu, rgCpu;
    int count = 0, grepLines = 0, rgLines = 0;
    for (auto _ : state) {
        double cpu = cpuMs(RUSAGE_SELF);
        find.push_back(timeFind(options, 0, count));
        findCpu.push_back(cpuMs(RUSAGE_SELF) - cpu);
        state.SetIterationTime(find.back() / 1000.0);
        find1.push_back(timeFind(options, 1, count));
        grep.push_back(timeCommand("LC_ALL=C grep -rn -i -E -e '" + options.text + "'", grepLines));
        if (!haveRipgrep()) continue;
        cpu = cpuMs(RUSAGE_CHILDREN);
        rg.push_back(timeCommand("rg --no-config -n -i -e '" + options.text + "'", rgLines));
        rgCpu.push_back(cpuMs(RUSAGE_CHILDREN) - cpu);
    }
    state.counters["find_cpu_ms"] = median(findCpu);
    state.counters["find_ms"] = median(find);
    state.counters["find_1thread_ms"] = median(find1);
    state.counters["grep_ms"] = median(grep);
    state.counters["vs_grep"] = median(find) / median(grep);
    if (!rg.empty()) {
        state.counters["rg_ms"] = median(rg);
        state.counters["rg_cpu_ms"] = median(rgCpu);
        state.counters["vs_rg"] = median(find) / median(rg);
        state.counters["rg_lines"] = rgLines;
    }
    state.counters["matches"] = count;
    state.counters["grep_lines"] = grepLines;
}

void BM_PlainIgnoreCase(benchmark::State& s) { compare(s, {kPlain, false, false}); }

void BM_FindFunctionIgnoreCase(benchmark::State& s) {
    const std::string expression = varn::FindInFiles::withName(varn::FindInFiles::kFunctionPattern, kFunctionName);
    compare(s, {expression, false, true});
}

}  // namespace

BENCHMARK(BM_PlainIgnoreCase)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(9);
BENCHMARK(BM_FindFunctionIgnoreCase)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(9);
