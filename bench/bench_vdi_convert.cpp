// Converting a large data file (65,535 rows, about 197 MB) to a database:
// the time and the process's peak memory, which must stay far below the
// file's size since rows are streamed from the file to the database.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/RecordingUi.h"
#include "convert/VdiConverter.h"

namespace {

std::string makeInput() {
    const std::string path = "/tmp/varn_bench_" + std::to_string(::getpid()) + "_Big.vdi";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("VARN data file\nTable: Big\n\nFields: 3\nRecords: 65535\nSyncPref: MERGE\n"
               " 1:Name: S Size:3000\n 2:Amount: N Size:8\n 3:Codes: BA Size:4\n",
               f);
    const std::string text(2950, 't');
    for (int i = 0; i < 65535; ++i) std::fprintf(f, "%d,0,\"%s %d\",%d.25,0A0B0C0D\n", i, text.c_str(), i, i);
    std::fclose(f);
    return path;
}

void BM_ConvertLargeVdi(benchmark::State& state) {
    const std::string input = makeInput();
    varn::VdiConversion c;
    c.input = input;
    c.output = varn::pdbPathFor(input);
    c.creator = "VARN";
    c.clock = [] { return std::int64_t{1000000000}; };
    c.decimalSeparator = ".";
    for (auto _ : state) {
        varn::RecordingUi ui;
        if (!varn::convertVdiToPdb(c, ui)) state.SkipWithError(ui.lastText().c_str());
    }
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    std::FILE* in = std::fopen(input.c_str(), "rb");
    std::fseek(in, 0, SEEK_END);
    state.counters["input_MB"] = static_cast<double>(std::ftell(in)) / 1e6;
    std::fclose(in);
    std::remove(input.c_str());
    std::remove(c.output.c_str());
}
BENCHMARK(BM_ConvertLargeVdi)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
