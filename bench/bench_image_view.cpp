// A full repaint of the image view: a 320 × 320 image at the zoom that fills
// a 1400 × 900 window, with and without the grid, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QPixmap>

#include "QtBenchmarkMain.h"
#include "app/Ui.h"
#include "image/CVARNImgView.h"
#include "image/ImageEditor.h"

namespace {

void BM_RepaintFitted320(benchmark::State& state) {
    varn::HeadlessUi ui;
    varn::CVARNImgDoc doc;
    doc.addImage(320, 320, 24, ui);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 320; ++x)
            doc.surface()->set(x, y, varn::Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0x99});
    varn::ImageColours colours;
    varn::ImageEditor editor(doc, colours);
    editor.setZoom(varn::ImageEditor::fitZoom(1400, 900, 320, 320));
    varn::CVARNImgView::setGridEnabled(state.range(0) != 0);
    varn::CVARNImgView view(editor);
    view.resize(320 * editor.zoom(), 320 * editor.zoom());
    QPixmap target(view.size());
    for (auto _ : state) {
        view.render(&target);
        benchmark::DoNotOptimize(target);
    }
}
BENCHMARK(BM_RepaintFitted320)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runQtBenchmarks(argc, argv); }
