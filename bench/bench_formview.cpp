// The designer view on a large form (2,000 controls of mixed kinds, 20 of
// them grids): opening the form file to the first painted picture, and a
// rubber band dragged over every control with the repaint that follows (the
// event loop's, of the region the trackers changed).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "LargeForm.h"
#include "QtBenchmarkMain.h"
#include "app/RecordingUi.h"
#include "form/CVARNfbView.h"

namespace {

using namespace varn;

// The shared large form, written to a file in `folder`.
std::string writeLargeForm(const std::string& folder) {
    CVARNfbDoc doc(bench::largeFormEnv());
    bench::fillLargeForm(doc);
    const std::string path = folder + "/Large.vff";
    if (!doc.save(path)) std::abort();
    return path;
}

std::unique_ptr<CVARNfbView> openView(const std::string& path, RecordingUi& ui) {
    auto view = std::make_unique<CVARNfbView>(std::make_unique<CVARNfbDoc>(bench::largeFormEnv()), ui);
    if (!view->doc().load(path, ui)) std::abort();
    view->refresh();
    view->resize(700, 700);
    return view;
}

void BM_OpenToFirstPaint2000(benchmark::State& state) {
    QTemporaryDir tmp;
    const std::string path = writeLargeForm(tmp.path().toStdString());
    RecordingUi ui;
    for (auto _ : state) {
        auto view = openView(path, ui);
        view->show();
        benchmark::DoNotOptimize(view->grab().size());
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenToFirstPaint2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void mouse(QWidget* w, QEvent::Type type, const QPoint& at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void BM_RubberBandOver2000(benchmark::State& state) {
    QTemporaryDir tmp;
    const std::string path = writeLargeForm(tmp.path().toStdString());
    RecordingUi ui;
    auto view = openView(path, ui);
    view->show();
    view->grab();
    QWidget* surface = view->surface();
    for (auto _ : state) {
        // From the empty corner over the whole form; every control but the frame is taken.
        mouse(surface, QEvent::MouseButtonPress, QPoint(1, 1));
        mouse(surface, QEvent::MouseMove, QPoint(319, 319));
        mouse(surface, QEvent::MouseButtonRelease, QPoint(319, 319));
        // The repaint the band asked for, as the event loop does it.
        QCoreApplication::processEvents();
    }
    if (view->designer().selection().count() != 1999) state.SkipWithError("the band did not take every control");
}
BENCHMARK(BM_RubberBandOver2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return runQtBenchmarks(argc, argv); }
