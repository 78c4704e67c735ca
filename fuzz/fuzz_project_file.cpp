// Feeds arbitrary bytes to the project-file reader and writes the result back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ProfileFile.h"
#include "project/ProjectFile.h"
#include "project/SettingsNode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    auto profile = varn::ProfileFile::parse(text);
    if (!profile) return 0;
    auto root = varn::SettingsNode::load(*profile, varn::ProjectFile::kRootName);
    if (!root) return 0;
    varn::ProjectModel model;
    model.projectPath = "/nonexistent-varn-fuzz/Demo.vpj";
    if (const auto* node = root->child(varn::ProjectFile::kSettingsNode)) varn::ProjectFile::readSettings(*node, model);
    varn::ProfileFile out;
    root->addChild(varn::ProjectFile::kSettingsNode) = varn::ProjectFile::writeSettings(model, "/nonexistent-varn-fuzz");
    root->save(out);
    (void)out.serialize();
    return 0;
}
