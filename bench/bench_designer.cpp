// The designer's commands on a large form (2,000 controls of mixed kinds, 20
// of them grids): a nudge of 200 selected controls, and undoing the delete of
// 200 controls record by record.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/RecordingUi.h"
#include "LargeForm.h"
#include "form/FormDesigner.h"

namespace {

using namespace varn;

// A frame and 1,999 controls; every hundredth a grid of 3 columns by 4 rows.
std::unique_ptr<FormDesigner> largeDesigner(RecordingUi& ui) {
    auto designer = std::make_unique<FormDesigner>(std::make_unique<CVARNfbDoc>(bench::largeFormEnv()), ui);
    bench::fillLargeForm(designer->doc());
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
