// A project beside a stand-in IDE folder for the installer tests: the
// runtime files of the IDE folder as small files, group and dialog files in
// the project folder, and helpers to list an install folder.
#pragma once

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "installer/InstallerBuild.h"
#include "platform/FileSystem.h"

namespace varn::test {

struct InstallFixture {
    TempDir tmp;
    std::string ide = tmp.file("varn");
    std::string project = tmp.file("Proj");
    RecordingUi ui;

    InstallFixture() {
        fsys::createFolders(ide);
        fsys::createFolders(project);
        for (const char* f : {"Setup.exe", "Instaide.dll", "HSAPI.dll", "VARNcn20.dll", "PocketPC/VARNvdi2ppc.exe",
                              "PocketPC/VARNregARM.exe", "PocketPC/VARNregSH3.exe", "PocketPC/VARNregMIPS.exe",
                              "PocketPC/VARNsync.dll"})
            ideFile(f);
        for (const char* cpu : {"ARM", "MIPS", "SH3"})
            for (const char* f : {"VARNppc.exe", "gx.dll", "SetupDll.dll", "VARNdev.dll"})
                ideFile(std::string("PocketPC/") + cpu + "/" + f);
    }
    void ideFile(const std::string& relative) {
        std::string path = ide + "/" + relative;
        fsys::createFolders(std::filesystem::path(path).parent_path().string());
        writeBytes(path, "ide:" + relative);
    }
    std::string projectFile(const std::string& relative, const std::string& bytes = {}) {
        std::string path = project + "/" + relative;
        fsys::createFolders(std::filesystem::path(path).parent_path().string());
        writeBytes(path, bytes.empty() ? "user:" + relative : bytes);
        return path;
    }
    install::ProjectFacts facts() const {
        install::ProjectFacts f;
        f.baseName = "Demo";
        f.creatorID = "44656D6F";  // "Demo"
        f.desktopName = "Demo App";
        return f;
    }
    install::InstallerBuild builder(TargetPlatform platform) {
        install::InstallerBuild b(facts(), project + "/Demo.vpj", platform, ide, ui);
        b.setIconUpdate([this](const std::string& ico, const std::string& dir, const std::string& base,
                               std::string& results) {
            iconCalls.push_back(ico + "|" + dir + "|" + base);
            results += "(icon update)\r\n";
        });
        b.setComspec(std::string());  // our own command interpreter
        return b;
    }
    std::vector<std::string> iconCalls;
};

// Every entry below `folder`, relative, folders ending in "/", sorted.
inline std::set<std::string> listTree(const std::string& folder) {
    std::set<std::string> out;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string rel = std::filesystem::relative(it->path(), folder).string();
        if (it->is_directory()) rel += "/";
        out.insert(rel);
    }
    return out;
}

}  // namespace varn::test
