// Opening and saving a project file of typical size (reading and writing the
// settings tree), the work done at every project open and Save All.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/ProfileFile.h"
#include "project/ProjectFile.h"
#include "project/SettingsNode.h"

namespace {

std::string sampleProject() {
    varn::ProjectModel model;
    model.projectPath = "/bench/proj/Demo.vpj";
    for (int i = 0; i < 40; ++i) model.tree.addFormFile("/bench/proj/forms/Form" + std::to_string(i) + ".vff");
    for (int i = 0; i < 60; ++i) model.tree.addImageFile("/bench/proj/img/Image" + std::to_string(i) + ".vbm");
    for (int i = 0; i < 20; ++i) model.projectVars.push_back("numeric v" + std::to_string(i) + " = " + std::to_string(i));
    varn::SettingsNode root(varn::ProjectFile::kRootName);
    root.addChild(varn::ProjectFile::kSettingsNode) = varn::ProjectFile::writeSettings(model, "/bench/proj");
    varn::ProfileFile file;
    root.save(file);
    return file.serialize();
}

void BM_ReadProjectFile(benchmark::State& state) {
    const std::string text = sampleProject();
    for (auto _ : state) {
        auto profile = varn::ProfileFile::parse(text);
        auto root = varn::SettingsNode::load(*profile, varn::ProjectFile::kRootName);
        varn::ProjectModel model;
        model.projectPath = "/bench/proj/Demo.vpj";
        varn::ProjectFile::readSettings(*root->child(varn::ProjectFile::kSettingsNode), model);
        benchmark::DoNotOptimize(model.tree.forms().size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadProjectFile);

void BM_WriteProjectFile(benchmark::State& state) {
    const std::string text = sampleProject();
    auto profile = varn::ProfileFile::parse(text);
    auto root = varn::SettingsNode::load(*profile, varn::ProjectFile::kRootName);
    for (auto _ : state) {
        varn::ProfileFile out = *profile;
        root->save(out);
        benchmark::DoNotOptimize(out.serialize().size());
    }
}
BENCHMARK(BM_WriteProjectFile);

}  // namespace
