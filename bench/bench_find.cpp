// Find in Files over a generated project of about 100 MB of VARN sources, in
// list mode, for a plain text and for Find Function's regular expression, with
// `grep -rnE` over the same folder in the same run as the baseline. Matches
// are rare so that both read every byte (many matches would cut the pane at
// 60000 characters and end each file early).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Ui.h"
#include "editor/FindInFiles.h"

namespace {

constexpr int kFiles = 400;
constexpr std::size_t kFileBytes = 256 * 1024;  // 400 x 256 KiB = 100 MiB

// Find Function's expression for the rare declarations; grep gets the same
// expression with real tab characters (ERE has no "\t").
const std::string kRegex = "^[ \t]*function[ \t]*rare_[a-z0-9_]*[ \t]*[(a-z,0-9_ \t)]*;";
const std::string kPlain = "needletext";

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
                } else if (n == 2001) {
                    // About one rare declaration and one plain hit per file.
                    len = std::snprintf(line, sizeof line, "  function rare_%d (x, y);\r\n", f);
                } else if (n == 3001) {
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

void runFind(benchmark::State& state, const varn::FindOptions& options) {
    const Corpus& c = corpus();
    SilentUi ui;
    varn::FindInFiles find(ui);
    int count = 0;
    for (auto _ : state) {
        varn::TextFindPane pane;
        count = find.list(c.files, options, pane).count;
        benchmark::DoNotOptimize(pane.text.data());
    }
    state.counters["matches"] = count;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.bytes));
}

void runGrep(benchmark::State& state, const std::string& options, const std::string& pattern) {
    const Corpus& c = corpus();
    // Output to a file: GNU grep stops at the first match when it writes to /dev/null.
    std::string out = c.folder + ".out";
    std::string cmd = "LC_ALL=C grep -rnE " + options + " -e '" + pattern + "' '" + c.folder + "' > '" + out + "'";
    // The children's processor time, so that grep's figure compares with the
    // search's own "CPU" column even on a busy machine.
    auto childSeconds = [] {
        rusage u{};
        ::getrusage(RUSAGE_CHILDREN, &u);
        return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
               static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    double before = childSeconds();
    for (auto _ : state) {
        int rc = std::system(cmd.c_str());
        if (rc != 0) state.SkipWithError("grep failed");
    }
    state.counters["child_cpu_ms"] = (childSeconds() - before) * 1000.0 / static_cast<double>(state.iterations());
    std::remove(out.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.bytes));
}

void BM_FindPlainIgnoreCase(benchmark::State& s) { runFind(s, {kPlain, false, false}); }
void BM_GrepPlainIgnoreCase(benchmark::State& s) { runGrep(s, "-i", kPlain); }
void BM_FindPlainMatchCase(benchmark::State& s) { runFind(s, {"NeedleText", true, false}); }
void BM_GrepPlainMatchCase(benchmark::State& s) { runGrep(s, "", "NeedleText"); }
void BM_FindRegexIgnoreCase(benchmark::State& s) { runFind(s, {kRegex, false, true}); }
void BM_GrepRegexIgnoreCase(benchmark::State& s) { runGrep(s, "-i", kRegex); }

}  // namespace

BENCHMARK(BM_FindPlainIgnoreCase)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_GrepPlainIgnoreCase)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_FindPlainMatchCase)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_GrepPlainMatchCase)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_FindRegexIgnoreCase)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_GrepRegexIgnoreCase)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
