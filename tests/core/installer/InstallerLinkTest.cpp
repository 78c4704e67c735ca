// The installer build never writes or deletes through a symbolic link: an
// install folder that is a link, or a processor folder the cabinet wizard
// turned into one, fails the build with its message and leaves the link's
// target as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "InstallTestSupport.h"

using namespace varn;
using namespace varn::install;

namespace {

// A folder of the user's with files the copies and the clean-up's patterns would hit.
const std::map<std::string, std::string> kUserFiles = {{"notes.inf", "mine"}, {"song.wav", "mine"},
                                                       {"font.ttf", "mine"},  {"old.vce", "mine"},
                                                       {"Setup.exe", "mine"}, {"lib.dll", "mine"}};

std::string userFolder(test::InstallFixture& f) {
    const std::string folder = f.tmp.file("Elsewhere");
    fsys::createFolders(folder);
    for (const auto& [name, bytes] : kUserFiles) test::writeBytes(folder + "/" + name, bytes);
    return folder;
}

void expectUntouched(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& [name, bytes] : kUserFiles) {
        names.insert(name);
        EXPECT_EQ(test::readBytes(folder + "/" + name), bytes) << name;
    }
    EXPECT_EQ(test::listTree(folder), names);
}

// A wizard that leaves the three cabinets, after running `more`.
void wizard(test::InstallFixture& f, const std::string& more) {
    const std::string path = f.ide + "/CabWiz.exe";
    test::writeBytes(path, "#!/bin/sh\n" + more + "touch Demo.PPC3_ARM.CAB Demo.PPC3_MIPS.CAB Demo.PPC3_SH3.CAB\n");
    ::chmod(path.c_str(), 0755);
}

std::string linkedMessage(const std::string& folder) {
    std::string m = kLinkedFolder;
    return m.replace(m.find("%s"), 2, folder);
}

}  // namespace

TEST(InstallerLinks, InstallFolderThatIsALinkIsRefused) {
    for (TargetPlatform platform : {TargetPlatform::PalmOS, TargetPlatform::PocketPC}) {
        test::InstallFixture f;
        const std::string target = userFolder(f);
        wizard(f, "");
        auto b = f.builder(platform);
        ASSERT_EQ(::symlink(target.c_str(), b.installDirectory().c_str()), 0);
        InstallSettings s;
        s.applicationName = "Demo";
        EXPECT_FALSE(b.build(s)) << platformName(platform);
        const std::string error = linkedMessage(b.installDirectory());
        EXPECT_NE(b.results().find(error + "Prepare failed\r\n"), std::string::npos) << b.results();
        EXPECT_EQ(f.ui.texts(), std::vector<std::string>{error});
        expectUntouched(target);
    }
}

TEST(InstallerLinks, ProcessorFolderLinkedByTheWizardStopsTheCleanUp) {
    test::InstallFixture f;
    const std::string target = userFolder(f);
    wizard(f, "rm -rf ARM && ln -s '" + target + "' ARM\n");
    auto b = f.builder(TargetPlatform::PocketPC);
    InstallSettings s;
    s.applicationName = "Demo";
    EXPECT_FALSE(b.build(s));
    EXPECT_EQ(f.ui.texts(), std::vector<std::string>{linkedMessage(b.installDirectory() + "/ARM")});
    EXPECT_EQ(b.results().find("Removing temporary files"), std::string::npos);
    expectUntouched(target);
}
