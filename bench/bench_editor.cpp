// The source editor on a large file: opening a 200,000-line VARN source
// (7.3 MB, CR LF) up to the first painted screen, against the bare text
// engine with its own C++ lexer opening the same file in the same run, and
// applying colouring changes and typing at line 100,000. Runs on the
// offscreen platform; wall time is the figure (painting is the work).
#include <Qsci/qscilexercpp.h>
#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "QtBenchmarkMain.h"
#include "app/DocumentJournal.h"
#include "editor/CVarnIdeView.h"
#include "editor/ColouringSettings.h"
#include "editor/VarnLexer.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

namespace {

constexpr int kLines = 200000;

// The generated source: 25,000 functions of eight lines with comments,
// strings, keywords and numbers.
std::string generatedSource() {
    std::string s;
    s.reserve(kLines * 37);
    for (int f = 0; f < kLines / 8; ++f) {
        const std::string n = std::to_string(f);
        s += "# Function number " + n + ": adds two values, formats the total\r\n";
        s += "function work_" + n + "(amount, factor)\r\n";
        s += "  total = amount + factor * 2 + offset_value - " + n + ";\r\n";
        s += "  name = \"item \" + string(total, \"0000\") + \" of the list\";\r\n";
        s += "  if total > 10 then\r\n";
        s += "    total = total - 1;   # keep it small\r\n";
        s += "  end_if;\r\n";
        s += "end;\r\n";
    }
    return s;
}

// The source written once to a file; both editors read it from there.
const std::string& sourceFile() {
    static const std::string path = [] {
        std::string p = "/tmp/varn_bench_editor_" + std::to_string(::getpid()) + ".vsl";
        const std::string text = generatedSource();
        std::FILE* out = std::fopen(p.c_str(), "wb");
        if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size()) std::abort();
        std::fclose(out);
        return p;
    }();
    return path;
}

std::string readSource() {
    auto bytes = varn::fsys::readFile(sourceFile());
    if (!bytes) std::abort();
    return std::move(*bytes);
}

varn::EditorSection sourceSection() {
    varn::SettingsStore store;
    varn::normaliseColouring(store);
    return varn::readEditorSection(store, varn::kSourceFilesSection);
}

const std::vector<std::string>& keywords() {
    static const std::vector<std::string> words = [] {
        auto k = varn::loadKeywords(VARN_SOURCE_SHARE, "varnide.ini");
        if (!k) std::abort();
        return *k;
    }();
    return words;
}

const QFont& editorFont() {
    static const QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
    return font;
}

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

// Shows the view, paints its first screen and closes it again; the
// milliseconds from `t` to the painted screen.
double paintFirstScreen(std::unique_ptr<QsciScintilla> view, Clock::time_point t) {
    view->show();
    QPixmap shot = view->grab();
    benchmark::DoNotOptimize(shot);
    return msSince(t);
}

// The bare engine as an application would use it: its C++ lexer, the file's
// bytes given as they are, the first screen painted.
double openBare() {
    const auto t = Clock::now();
    auto view = std::make_unique<QsciScintilla>();
    view->setLexer(new QsciLexerCPP(view.get()));
    view->resize(1000, 700);
    const std::string bytes = readSource();
    view->setUtf8(true);
    view->SendScintilla(QsciScintilla::SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()), bytes.data());
    return paintFirstScreen(std::move(view), t);
}

// The source view as the IDE opens a file: read, load, settings, shown.
double openView(const varn::EditorSection& section) {
    const auto t = Clock::now();
    auto view = std::make_unique<varn::CVarnIdeView>(sourceFile());
    view->resize(1000, 700);
    view->load(readSource());
    view->applySettings(section, keywords(), editorFont());
    return paintFirstScreen(std::move(view), t);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Both editors open the file in turn in every iteration, so that a busy
// machine slows both alike; the counters give the medians and their ratio.
void BM_OpenToFirstPaint(benchmark::State& state) {
    const varn::EditorSection section = sourceSection();
    (void)sourceFile();
    std::vector<double> bare, view, ratio;
    for (auto _ : state) {
        const double b = openBare();
        const double v = openView(section);
        state.SetIterationTime(v / 1000.0);
        bare.push_back(b);
        view.push_back(v);
        ratio.push_back(v / b);
    }
    state.counters["bare_ms"] = median(bare);
    state.counters["view_ms"] = median(view);
    state.counters["ratio"] = median(ratio);
    state.counters["MB"] = static_cast<double>(generatedSource().size()) / 1e6;
}
BENCHMARK(BM_OpenToFirstPaint)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(9);

// The large source shown at line 100,000, painted once.
void showMiddle(varn::CVarnIdeView& view, const varn::EditorSection& section) {
    view.resize(1000, 700);
    view.load(readSource());
    view.applySettings(section, keywords(), editorFont());
    view.show();
    view.setCursorPosition(100000, 0);
    (void)view.grab();
}

void BM_ApplyColouringChange(benchmark::State& state) {
    varn::EditorSection section = sourceSection();
    varn::CVarnIdeView view(sourceFile());
    showMiddle(view, section);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        section.keyword = flip ? varn::Rgb{192, 0, 0} : varn::Rgb{0, 0, 255};
        view.applySettings(section, keywords(), editorFont());
        QPixmap shot = view.grab();
        benchmark::DoNotOptimize(shot);
    }
}
BENCHMARK(BM_ApplyColouringChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// A change of the case rule styles the text again, from the top of the file
// down to the screen shown (the worst case: the middle of the file).
void BM_ApplyCaseChange(benchmark::State& state) {
    varn::EditorSection section = sourceSection();
    varn::CVarnIdeView view(sourceFile());
    showMiddle(view, section);
    for (auto _ : state) {
        section.caseSensitive = !section.caseSensitive;
        view.applySettings(section, keywords(), editorFont());
        QPixmap shot = view.grab();
        benchmark::DoNotOptimize(shot);
    }
}
BENCHMARK(BM_ApplyCaseChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A character typed at line 100,000 and the screen painted again: only the
// changed line and the lines shown after it are styled again.
void BM_TypeAtLine100000(benchmark::State& state) {
    const varn::EditorSection section = sourceSection();
    varn::CVarnIdeView view(sourceFile());
    showMiddle(view, section);
    long styledBytes = 0;
    for (auto _ : state) {
        view.SendScintilla(QsciScintilla::SCI_ADDTEXT, 1UL, "x");
        const long from = view.SendScintilla(QsciScintilla::SCI_GETENDSTYLED);
        QPixmap shot = view.grab();
        benchmark::DoNotOptimize(shot);
        styledBytes += view.SendScintilla(QsciScintilla::SCI_GETENDSTYLED) - from;
    }
    state.counters["styled_bytes"] = static_cast<double>(styledBytes) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TypeAtLine100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// 1,000 keystrokes typed into a modified 5,000-line source with the recovery
// journal following it (1) or not (0); each keystroke is timed up to the
// moment its events are handled, journal copies included when they fall due.
void BM_KeystrokesWithJournal(benchmark::State& state) {
    const bool journalled = state.range(0) != 0;
    QTemporaryDir folder;
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "  total = total + value_" + std::to_string(i % 97) + "; # sum\r\n";
    std::vector<double> times;
    for (auto _ : state) {
        varn::CVarnIdeView view("Typing.vsl");
        view.load(text);
        varn::DocumentJournal journal(folder.path().toStdString());
        if (journalled) journal.watch(view);
        view.resize(800, 600);
        view.show();
        view.setCursorPosition(2500, 0);
        for (int i = 0; i < 1000; ++i) {
            const auto start = std::chrono::steady_clock::now();
            view.SendScintilla(QsciScintilla::SCI_ADDTEXT, 1UL, "x");
            QCoreApplication::processEvents();
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            if (i % 100 == 99) QThread::msleep(200);  // pauses, so that copies fall due while typing
        }
        journal.flush();
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p99_ms"] = times[times.size() * 99 / 100];
    state.counters["max_ms"] = times.back();
}
BENCHMARK(BM_KeystrokesWithJournal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    const int status = runQtBenchmarks(argc, argv);
    std::remove(sourceFile().c_str());
    return status;
}
