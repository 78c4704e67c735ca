// The image editor's work per gesture: a flood fill of a 1000 × 1000 image
// (one region of a million pixels, and a maze of thin corridors), and a
// pencil drag of 1,000 mouse moves through the editor on a 320 × 320 image.
#include <benchmark/benchmark.h>

#include "app/Ui.h"
#include "image/ImageEditor.h"

namespace {

void BM_FloodFillWhole(benchmark::State& state) {
    varn::PixelBuffer p(1000, 1000, varn::kWhite);
    bool red = false;
    for (auto _ : state) {
        red = !red;
        varn::floodFill(p, {500, 500}, red ? varn::Rgb{255, 0, 0} : varn::kWhite);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_FloodFillWhole)->Unit(benchmark::kMillisecond);

// Walls on every other row with alternating gaps: the fill snakes through 500 corridors.
void BM_FloodFillMaze(benchmark::State& state) {
    varn::PixelBuffer p(1000, 1000, varn::kWhite);
    for (int y = 1; y < 1000; y += 2)
        for (int x = 0; x < 1000; ++x)
            if (x != ((y / 2) % 2 == 0 ? 999 : 0)) p.set(x, y, varn::kBlack);
    bool red = false;
    for (auto _ : state) {
        red = !red;
        varn::floodFill(p, {0, 0}, red ? varn::Rgb{255, 0, 0} : varn::kWhite);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_FloodFillMaze)->Unit(benchmark::kMillisecond);

// 1,000 moves with the button down, each to a new pixel at zoom 2, brush 5.
void BM_PencilDrag1000(benchmark::State& state) {
    varn::HeadlessUi ui;
    varn::CVARNImgDoc doc;
    doc.addImage(320, 320, 24, ui);
    varn::ImageColours colours;
    varn::ImageEditor editor(doc, colours);
    editor.setZoom(2);
    editor.setTool(state.range(0) == 1 ? varn::ImageTool::Pencil : varn::ImageTool::Brush);
    editor.setBrushSize(5);
    for (auto _ : state) {
        editor.move({0, 0});
        editor.press({0, 0}, varn::ColourSide::Foreground);
        for (int i = 1; i <= 1000; ++i) {
            // A zig-zag with steps of a few pixels, as a quick hand gives.
            const int x = (i * 3) % 638, y = (i * 7) % 638;
            editor.move({x, y});
        }
        editor.release({0, 0});
    }
}
BENCHMARK(BM_PencilDrag1000)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

}  // namespace
