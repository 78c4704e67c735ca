// The project-wide name check ("Check For Duplicates") over projects of up to
// 200 forms of 50 controls each, with no clash so that every form is walked.
// The forms are read from their files as in a project with no form open;
// the "Open" variants hold every form in memory and so time the check alone.
// Growth with the number of forms should be linear.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Ui.h"
#include "form/CVARNfbDoc.h"
#include "form/FormKinds.h"
#include "project/DuplicateCheck.h"
#include "project/ProjectModel.h"

namespace {

using namespace varn;

constexpr int kControlsPerForm = 50;

class NullUi : public Ui {
public:
    Answer message(const Message& m) override {
        ++messages;
        return defaultAnswerOf(m);
    }
    std::vector<std::string> openFiles(const FileDialog&) override { return {}; }
    std::optional<std::string> saveFile(const FileDialog&) override { return std::nullopt; }
    int messages = 0;
};

class AllOpen : public OpenForms {
public:
    CVARNfbDoc* openForm(const std::string& path) override {
        auto it = docs.find(path);
        return it == docs.end() ? nullptr : it->second.get();
    }
    std::map<std::string, std::unique_ptr<CVARNfbDoc>> docs;
};

FormEnvironment benchEnv() {
    FormEnvironment env;
    env.pixelWidth = env.pixelHeight = 320;
    env.useSystemColours = false;
    return env;
}

// 50 records: a frame, a grid of 3 columns, a 4-button array, selectors and
// dropdowns with lists, and texts, labels and buttons; every name unique.
std::unique_ptr<CVARNfbDoc> makeForm(int form) {
    auto doc = std::make_unique<CVARNfbDoc>(benchEnv());
    const std::string prefix = "F" + std::to_string(form) + "_";
    auto add = [&](int k, const std::string& name) -> CVARNFBControl& {
        CVARNFBControl& c = doc->append(doc->newRecord(k));
        c.name = name;
        c.rect() = FormRect{10, 10, 60, 30};
        return c;
    };
    add(kind::Frame, prefix + "Frame").menuBar = "MainBar";
    CVARNFBControl& grid = add(kind::Grid, prefix + "Grid");
    grid.displayRows = 4;
    grid.rect() = FormRect{0, 40, 300, 120};
    for (int col = 0; col < 3; ++col) {
        CVARNFBControl proto(kind::Text, benchEnv());
        proto.name = prefix + "Col" + std::to_string(col);
        proto.columnWidth = 33;
        grid.appendGridColumn(proto);
    }
    grid.layoutGridCells(16);
    for (int e = 0; e < 4; ++e) {
        CVARNFBControl& b = add(kind::Button, prefix + "Keys");
        b.arrayCount = 4;
        b.arrayIndex = e;
    }
    static constexpr int kKinds[] = {kind::Text, kind::Label, kind::Button, kind::Selector, kind::Dropdown};
    for (int i = 0; doc->controls().size() < static_cast<std::size_t>(kControlsPerForm); ++i) {
        const int k = kKinds[i % 5];
        CVARNFBControl& c = add(k, prefix + "Obj" + std::to_string(i));
        if (k == kind::Selector || k == kind::Dropdown) {
            c.list = prefix + "List" + std::to_string(i);
            c.listSize = 3;
            c.listItems = {"one", "two", "three"};
            c.dropdownListHeight = 30;
        }
    }
    return doc;
}

// One project folder with 200 forms, written once for all benchmarks.
struct BenchProject {
    static constexpr int kForms = 200;

    BenchProject() {
        std::string pattern = (std::filesystem::temp_directory_path() / "varn_dup_XXXXXX").string();
        folder = mkdtemp(pattern.data());
        for (int f = 0; f < kForms; ++f) {
            paths.push_back(folder + "/Form" + std::to_string(f) + ".vff");
            if (!makeForm(f)->save(paths.back()).ok()) std::abort();
        }
    }
    ~BenchProject() { std::filesystem::remove_all(folder); }

    // The first `forms` forms; `open` holds them in memory as open documents.
    void fill(ProjectModel& model, AllOpen* open, int forms) const {
        for (int f = 0; f < forms; ++f) {
            model.tree.addFormFile(paths[static_cast<std::size_t>(f)]);
            if (open) open->docs[paths[static_cast<std::size_t>(f)]] = makeForm(f);
        }
        CMenuTop file{false, "mnuFile", "File", {}};
        for (int i = 0; i < 6; ++i) file.items.push_back(CMenuItem{false, "Item", "", "mnuItem" + std::to_string(i)});
        model.menuBars.push_back(CMenuBar{"MainBar", {file, CMenuTop{false, "mnuHelp", "Help", {}}}});
    }

    std::string folder;
    std::vector<std::string> paths;
};

const BenchProject& project() {
    static BenchProject p;
    return p;
}

void runProjectCheck(benchmark::State& state, bool allOpen) {
    const int forms = static_cast<int>(state.range(0));
    ProjectModel model;
    AllOpen open;
    project().fill(model, allOpen ? &open : nullptr, forms);
    NullUi ui;
    DuplicateCheck check(model, ui, &open);
    for (auto _ : state) {
        const bool found = check.checkProject();
        benchmark::DoNotOptimize(found);
        if (found) state.SkipWithError("a clash in a project without clashes");
    }
    state.SetComplexityN(forms);
    state.counters["controls"] = forms * kControlsPerForm;
}

void BM_CheckProject(benchmark::State& state) { runProjectCheck(state, false); }
void BM_CheckProjectOpen(benchmark::State& state) { runProjectCheck(state, true); }

// Naming one new control: the quiet single-name check over every form.
void BM_NameNewControl(benchmark::State& state) {
    const int forms = static_cast<int>(state.range(0));
    ProjectModel model;
    AllOpen open;
    project().fill(model, &open, forms);
    NullUi ui;
    DuplicateCheck check(model, ui, &open);
    CVARNFBControl fresh(kind::Text, benchEnv());
    for (auto _ : state) benchmark::DoNotOptimize(check.nameInUse(fresh, "Text12345"));
    state.SetComplexityN(forms);
}

}  // namespace

BENCHMARK(BM_CheckProject)
    ->Arg(25)
    ->Arg(50)
    ->Arg(100)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_CheckProjectOpen)
    ->Arg(25)
    ->Arg(50)
    ->Arg(100)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_NameNewControl)->Arg(200)->Unit(benchmark::kMillisecond);
