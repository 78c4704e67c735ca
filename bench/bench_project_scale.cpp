// Opening and saving project files with very many keys: the project
// variables section with 1,000 to 100,000 entries, and the save of a project
// with 4,000 variables. Both must grow linearly with the number of keys.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/ProfileFile.h"
#include "project/ProjectFile.h"
#include "project/SettingsNode.h"

namespace {

constexpr const char* kPath = "/bench/proj/Demo.vpj";

varn::ProjectModel modelWithVariables(int count) {
    varn::ProjectModel model;
    model.projectPath = kPath;
    for (int i = 0; i < count; ++i) model.projectVars.push_back("numeric v" + std::to_string(i) + " = " + std::to_string(i));
    return model;
}

std::string projectText(const varn::ProjectModel& model) {
    varn::SettingsNode root(varn::ProjectFile::kRootName);
    root.addChild(varn::ProjectFile::kSettingsNode) = varn::ProjectFile::writeSettings(model, "/bench/proj");
    varn::ProfileFile file;
    root.save(file);
    return file.serialize();
}

// Reading the text, the settings tree and the model, as an open does.
void BM_OpenProjectWithKeys(benchmark::State& state) {
    const std::string text = projectText(modelWithVariables(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        auto profile = varn::ProfileFile::parse(text);
        auto root = varn::SettingsNode::load(*profile, varn::ProjectFile::kRootName);
        varn::ProjectModel model;
        model.projectPath = kPath;
        varn::ProjectFile::readSettings(*root->child(varn::ProjectFile::kSettingsNode), model);
        benchmark::DoNotOptimize(model.projectVars.size());
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_OpenProjectWithKeys)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Building the settings tree from the model and writing it over the file as
// it was read, as a save does.
void BM_SaveProjectWith4000Variables(benchmark::State& state) {
    const varn::ProjectModel model = modelWithVariables(4000);
    const auto read = varn::ProfileFile::parse(projectText(model));
    for (auto _ : state) {
        varn::SettingsNode root(varn::ProjectFile::kRootName);
        root.addChild(varn::ProjectFile::kSettingsNode) = varn::ProjectFile::writeSettings(model, "/bench/proj");
        varn::ProfileFile file = *read;
        root.save(file);
        benchmark::DoNotOptimize(file.serialize().size());
    }
}
BENCHMARK(BM_SaveProjectWith4000Variables)->Unit(benchmark::kMillisecond);

}  // namespace
