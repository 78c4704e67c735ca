// The source editor on a large file: opening a 200,000-line VARN source up to
// the first painted screen, and applying colouring changes to it. Runs on the
// offscreen platform; wall time is the figure (painting is the work).
#include <benchmark/benchmark.h>

#include <QPixmap>

#include <memory>
#include <string>

#include "editor/CVarnIdeView.h"
#include "editor/ColouringSettings.h"
#include "platform/SettingsStore.h"
#include "QtBenchmarkMain.h"

namespace {

const std::string& largeSource() {
    static const std::string text = [] {
        std::string s;
        s.reserve(200000 * 40);
        for (int f = 0; f < 200000 / 8; ++f) {
            s += "# Function number " + std::to_string(f) + "\r\n";
            s += "function work" + std::to_string(f) + "(a, b)\r\n";
            s += "  total = a + b * 2;\r\n";
            s += "  name = \"item\" + string(total, \"0\");\r\n";
            s += "  if total > 10 then\r\n";
            s += "    total = total - 1;   # keep it small\r\n";
            s += "  end_if;\r\n";
            s += "end;\r\n";
        }
        return s;
    }();
    return text;
}

varn::EditorSection sourceSection() {
    varn::SettingsStore store;
    varn::normaliseColouring(store);
    return varn::readEditorSection(store, varn::kSourceFilesSection);
}

const std::vector<std::string> kKeywords = {"function", "end", "if", "then", "end_if", "string", "numeric", "return"};

const QFont& editorFont() {
    static const QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
    return font;
}

// The large source shown at line 100,000, painted once.
void showMiddle(varn::CVarnIdeView& view, const varn::EditorSection& section) {
    view.resize(1000, 700);
    view.load(largeSource());
    view.applySettings(section, kKeywords, editorFont());
    view.show();
    view.setCursorPosition(100000, 0);
    (void)view.grab();
}

void BM_OpenToFirstPaint(benchmark::State& state) {
    const varn::EditorSection section = sourceSection();
    for (auto _ : state) {
        auto view = std::make_unique<varn::CVarnIdeView>("/tmp/large.vsl");
        view->resize(1000, 700);
        view->load(largeSource());
        view->applySettings(section, kKeywords, editorFont());
        view->show();
        QPixmap shot = view->grab();  // paints the first screen
        benchmark::DoNotOptimize(shot);
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
    state.counters["lines"] = 200000;
}
BENCHMARK(BM_OpenToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ApplyColouringChange(benchmark::State& state) {
    varn::EditorSection section = sourceSection();
    varn::CVarnIdeView view("/tmp/large.vsl");
    showMiddle(view, section);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        section.keyword = flip ? varn::Rgb{192, 0, 0} : varn::Rgb{0, 0, 255};
        view.applySettings(section, kKeywords, editorFont());
        QPixmap shot = view.grab();
        benchmark::DoNotOptimize(shot);
    }
}
BENCHMARK(BM_ApplyColouringChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// A change of the case rule styles the text again, from the top of the file
// down to the screen shown (the worst case: the middle of the file).
void BM_ApplyCaseChange(benchmark::State& state) {
    varn::EditorSection section = sourceSection();
    varn::CVarnIdeView view("/tmp/large.vsl");
    showMiddle(view, section);
    for (auto _ : state) {
        section.caseSensitive = !section.caseSensitive;
        view.applySettings(section, kKeywords, editorFont());
        QPixmap shot = view.grab();
        benchmark::DoNotOptimize(shot);
    }
}
BENCHMARK(BM_ApplyCaseChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return runQtBenchmarks(argc, argv); }
