// Writing and reading a large form (2,000 controls of every kind, arrays,
// grids and list blocks), the work done at every form save and open.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/RecordingUi.h"
#include "form/CVARNfbDoc.h"
#include "form/FormFileWriter.h"

namespace {

varn::FormEnvironment benchEnv() {
    varn::FormEnvironment env;
    env.pixelWidth = env.pixelHeight = 320;
    env.useSystemColours = false;
    return env;
}

// `controls` records in the control list: a frame, then a mix of kinds where
// every tenth group is a 4-element button array and every fiftieth a grid.
std::unique_ptr<varn::CVARNfbDoc> largeForm(int controls) {
    using namespace varn;
    auto doc = std::make_unique<CVARNfbDoc>(benchEnv());
    CVARNFBControl& frame = doc->append(doc->newRecord(kind::Frame));
    frame.name = "Main";
    frame.display = "Large form";
    int made = 1;
    for (int i = 0; made < controls; ++i) {
        const std::string id = std::to_string(i);
        const int x = (i * 7) % 280;
        const int y = (i * 13) % 300;
        if (i % 10 == 9 && controls - made >= 4) {
            for (int e = 0; e < 4; ++e, ++made) {
                CVARNFBControl& b = doc->append(doc->newRecord(kind::Button));
                b.name = "Keys" + id;
                b.arrayCount = 4;
                b.arrayIndex = e;
                b.rect() = FormRect{x + 12 * e, y, x + 12 * e + 10, y + 10};
                b.display = std::to_string(e);
            }
            continue;
        }
        static constexpr int kKinds[] = {kind::Text, kind::Label, kind::Button, kind::Dropdown,
                                         kind::Checkbox, kind::Selector, kind::FileSel};
        const int k = i % 50 == 49 ? kind::Grid : kKinds[i % 7];
        CVARNFBControl& c = doc->append(doc->newRecord(k));
        ++made;
        c.name = "Obj" + id;
        c.rect() = FormRect{x, y, x + 40, y + 20};
        c.display = "Display text " + id;
        c.invokes = "OnObj" + id;
        if (k == kind::Dropdown || k == kind::Selector) {
            c.list = "List" + id;
            c.listSize = 5;
            c.listItems = {"one", "two", "three", "four", "five"};
            c.dropdownListHeight = 30;
        }
        if (k == kind::Grid) {
            c.displayRows = 4;
            for (int col = 0; col < 3; ++col) {
                CVARNFBControl proto(col == 1 ? kind::Dropdown : kind::Text, benchEnv());
                proto.name = "Col" + id + "_" + std::to_string(col);
                proto.columnWidth = 33;
                c.appendGridColumn(proto);
            }
            c.layoutGridCells(16);
        }
    }
    return doc;
}

void BM_WriteForm2000(benchmark::State& state) {
    auto doc = largeForm(2000);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = varn::writeFormFile(*doc, "Large.vff", 0);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteForm2000)->Unit(benchmark::kMillisecond);

void BM_ReadForm2000(benchmark::State& state) {
    const std::string text = varn::writeFormFile(*largeForm(2000), "Large.vff", 0);
    for (auto _ : state) {
        varn::RecordingUi ui;
        varn::CVARNfbDoc doc(benchEnv());
        doc.loadBytes(text, ui);
        benchmark::DoNotOptimize(doc.controls().size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadForm2000)->Unit(benchmark::kMillisecond);

}  // namespace
