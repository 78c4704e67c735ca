// The recovery journal's writes as the worker makes them: a 200,000-line
// source (about 7 MB) and a form of 2,000 controls serialised as its save
// would write it, each whole and atomically with its index.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/RecoveryJournal.h"
#include "form/CVARNfbDoc.h"
#include "form/FormFileWriter.h"
#include "form/FormKinds.h"

namespace {

using namespace varn;

std::string tempFolder() {
    char name[] = "/tmp/varn-bench-journal-XXXXXX";
    const char* made = ::mkdtemp(name);
    return made ? std::string(made) : std::string("/tmp");
}

std::string largeSource() {
    std::string s;
    for (int i = 0; i < 200000; ++i)
        s += "  total = total + value_" + std::to_string(i % 97) + " * 3; # running sum\r\n";
    return s;
}

std::unique_ptr<CVARNfbDoc> largeForm() {
    FormEnvironment env;
    env.pixelWidth = env.pixelHeight = 320;
    env.useSystemColours = false;
    auto form = std::make_unique<CVARNfbDoc>(env);
    CVARNfbDoc& doc = *form;
    doc.append(doc.newRecord(kind::Frame)).name = "Main";
    static constexpr int kKinds[] = {kind::Text,     kind::Label,    kind::Button, kind::Dropdown,
                                     kind::Checkbox, kind::Selector, kind::FileSel};
    for (int i = 1; i < 2000; ++i) {
        CVARNFBControl& c = doc.append(doc.newRecord(kKinds[i % 7]));
        c.name = "Obj" + std::to_string(i);
        const int x = 20 + (i * 7) % 240, y = 20 + (i * 13) % 260;
        c.rect() = FormRect{x, y, x + 30, y + 15};
        c.display = "Display text " + std::to_string(i);
    }
    return form;
}

void BM_JournalWriteSource200kLines(benchmark::State& state) {
    const std::string folder = tempFolder();
    RecoveryJournal journal(folder);
    const std::string bytes = largeSource();
    for (auto _ : state) {
        if (!journal.write("source", JournalKind::Source, "/p/Big.vsl", "", bytes, 0)) state.SkipWithError("write");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    journal.remove("source");
}
BENCHMARK(BM_JournalWriteSource200kLines)->Unit(benchmark::kMillisecond)->UseRealTime();

// The form is serialised on the window's side; the worker writes the bytes.
void BM_JournalWriteForm2000(benchmark::State& state) {
    const std::string folder = tempFolder();
    RecoveryJournal journal(folder);
    const auto doc = largeForm();
    for (auto _ : state) {
        const std::string bytes = writeFormFile(*doc, "Big.vff", 0);
        if (!journal.write("form", JournalKind::Form, "/p/Big.vff", "", bytes, 0)) state.SkipWithError("write");
    }
    journal.remove("form");
}
BENCHMARK(BM_JournalWriteForm2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
