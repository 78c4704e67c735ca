// The designer's commands on a large form (2,000 controls of mixed kinds, 20
// of them grids): a nudge of 200 selected controls, and undoing the delete of
// 200 controls record by record.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/RecordingUi.h"
#include "form/FormDesigner.h"

namespace {

using namespace varn;

FormEnvironment benchEnv() {
    FormEnvironment env;
    env.pixelWidth = env.pixelHeight = 320;
    env.useSystemColours = false;
    return env;
}

// A frame and 1,999 controls; every hundredth a grid of 3 columns by 4 rows.
std::unique_ptr<FormDesigner> largeDesigner(RecordingUi& ui) {
    auto designer = std::make_unique<FormDesigner>(std::make_unique<CVARNfbDoc>(benchEnv()), ui);
    CVARNfbDoc& doc = designer->doc();
    doc.append(doc.newRecord(kind::Frame)).name = "Main";
    static constexpr int kKinds[] = {kind::Text,     kind::Label,    kind::Button, kind::Dropdown,
                                     kind::Checkbox, kind::Selector, kind::FileSel};
    for (int i = 1; i < 2000; ++i) {
        const int k = i % 100 == 0 ? kind::Grid : kKinds[i % 7];
        CVARNFBControl& c = doc.append(doc.newRecord(k));
        c.name = "Obj" + std::to_string(i);
        const int x = 20 + (i * 7) % 240;
        const int y = 20 + (i * 13) % 260;
        c.rect() = FormRect{x, y, x + 30, y + 15};
        c.display = "Display text " + std::to_string(i);
        c.controlId = i;
        if (k == kind::Grid) {
            c.displayRows = 4;
            for (int col = 0; col < 3; ++col) {
                CVARNFBControl proto(kind::Text, benchEnv());
                proto.name = c.name + "_" + std::to_string(col);
                proto.columnWidth = 33;
                c.appendGridColumn(proto);
            }
            c.layoutGridCells(16);
        }
    }
    return designer;
}

// Selects every tenth control: 200 of them, grids among them.
void select200(FormDesigner& designer) {
    auto& list = designer.doc().controls();
    for (std::size_t i = 10; i < list.size(); i += 10) designer.selection().select(*list[i]);
}

void BM_Nudge200Of2000(benchmark::State& state) {
    RecordingUi ui;
    auto designer = largeDesigner(ui);
    select200(*designer);
    bool right = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(designer->nudge(right ? NudgeKey::Right : NudgeKey::Left));
        right = !right;
    }
}
BENCHMARK(BM_Nudge200Of2000)->Unit(benchmark::kMillisecond);

void BM_UndoDelete200Of2000(benchmark::State& state) {
    RecordingUi ui;
    for (auto _ : state) {
        state.PauseTiming();
        auto designer = largeDesigner(ui);
        select200(*designer);
        designer->deleteSelected();
        state.ResumeTiming();
        for (int i = 0; i < 200; ++i) designer->undo();
        benchmark::DoNotOptimize(designer->doc().controls().size());
        state.PauseTiming();
        designer.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoDelete200Of2000)->Unit(benchmark::kMillisecond);

void BM_Delete200Of2000(benchmark::State& state) {
    RecordingUi ui;
    for (auto _ : state) {
        state.PauseTiming();
        auto designer = largeDesigner(ui);
        select200(*designer);
        state.ResumeTiming();
        designer->deleteSelected();
        state.PauseTiming();
        designer.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Delete200Of2000)->Unit(benchmark::kMillisecond);

}  // namespace
