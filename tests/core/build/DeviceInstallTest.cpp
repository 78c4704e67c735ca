// Install commands: HotSync users through the folder stand-in, and the copies
// to the install folders with their messages.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "build/BuildHost.h"
#include "build/DeviceInstall.h"
#include "build/HotSyncInstaller.h"
#include "build/ProjectBuilder.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "project/VARNWorkspaceManager.h"

using namespace varn;

namespace {

struct ChoosingHost : BuildHost {
    std::optional<std::string> answer;
    std::vector<std::string> offered;
    std::string preselected;
    std::optional<std::string> chooseHotSyncUser(const std::vector<std::string>& users,
                                                 const std::string& pre) override {
        offered = users;
        preselected = pre;
        return answer;
    }
};

struct Fixture {
    test::TempDir tmp;
    std::string d = tmp.file("Proj");
    RecordingUi ui;
    SettingsStore settings;
    SymbolList symbols;
    VARNWorkspaceManager workspace{ui, settings, symbols, tmp.file("varn")};
    ChoosingHost host;
    ProjectBuilder builder{workspace, ui, settings, host, tmp.file("varn")};
    FolderHotSyncInstaller hotSync{tmp.file("Palm")};
    DeviceInstall install{builder, hotSync, ui, settings, host};

    Fixture() {
        fsys::createFolders(d + "/PalmOS Debug");
        ProjectModel& m = workspace.project();
        m.projectPath = d + "/Demo.vpj";
        m.activeConfiguration = "PalmOS Debug";
        fsys::createFolders(tmp.file("Palm/Alice"));
        fsys::createFolders(tmp.file("Palm/Bob"));
    }
};

}  // namespace

TEST(DeviceInstall, HotSyncUserChoiceAndQueue) {
    Fixture f;
    test::writeBytes(f.tmp.file("Demo.PRC"), "prc");
    f.settings.setString("Settings", "CurrentInstallUser", "Bob");
    f.host.answer = "Alice";
    f.install.installPrcForUser({}, f.tmp.file("Demo.PRC"));
    EXPECT_EQ(f.host.offered, (std::vector<std::string>{"Alice", "Bob"}));
    EXPECT_EQ(f.host.preselected, "Bob");
    EXPECT_EQ(f.settings.getString("Settings", "CurrentInstallUser"), "Alice");
    EXPECT_EQ(test::readBytes(f.tmp.file("Palm/Alice/Install/Demo.PRC")), "prc");
    EXPECT_TRUE(f.ui.messages.empty());

    f.host.answer.reset();  // Cancel ends silently
    f.install.installPrcForUser({}, f.tmp.file("Demo.PRC"));
    EXPECT_TRUE(f.ui.messages.empty());
    f.host.answer = "";
    f.install.installPrcForUser({}, f.tmp.file("Demo.PRC"));
    EXPECT_EQ(f.ui.lastText(), "The install was not done because a user was not selected.");
    f.install.installPrcForUser("Nobody", f.tmp.file("missing.PRC"));
    EXPECT_EQ(f.ui.lastText(), "Error during PRC install, error code -512");
}

TEST(DeviceInstall, UsersAreLookedUpAtEachInstallAndTheirPlaceIsNamed) {
    Fixture f;
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedHome = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", f.tmp.file("config").c_str(), 1);
    FolderHotSyncInstaller hotSync;  // created before the Palm desktop is set up
    DeviceInstall install{f.builder, hotSync, f.ui, f.settings, f.host};
    test::writeBytes(f.tmp.file("Demo.PRC"), "prc");
    f.host.answer = "Alice";

    const std::string ini = f.tmp.file("config/Palm Computing/Pilot Desktop.ini");
    const std::string empty = f.tmp.file("Empty");
    fsys::createFolders(empty);
    const std::pair<std::string, std::string> steps[] = {
        {"", "not set: give it as \"Path\" in the section [Core] of " + ini + "."},
        {empty, "of " + empty + "; none was found."},
        {f.tmp.file("Palm"), ""},
    };
    for (const auto& [desktop, hint] : steps) {
        if (!desktop.empty()) test::writeBytes(ini, "[Core]\nPath=" + desktop + "\n");
        f.ui.messages.clear();
        install.installPrcForUser({}, f.tmp.file("Demo.PRC"));
        if (hint.empty()) {
            EXPECT_TRUE(f.ui.messages.empty());
        } else {
            ASSERT_EQ(f.ui.messages.size(), 1u);
            EXPECT_EQ(f.ui.lastText().rfind(std::string(DeviceInstall::kNoUserSelected) + "\n\n", 0), 0u);
            EXPECT_NE(f.ui.lastText().find(hint), std::string::npos) << f.ui.lastText();
        }
    }
    EXPECT_EQ(test::readBytes(f.tmp.file("Palm/Alice/Install/Demo.PRC")), "prc");
    if (saved) ::setenv("XDG_CONFIG_HOME", savedHome.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
}

TEST(DeviceInstall, CopiesToTheInstallFolders) {
    Fixture f;
    f.install.vsmInstall();
    EXPECT_EQ(f.ui.lastText(), "HotSync install path not set (configured in IDE Settings...)");
    f.install.pocketPCInstall();
    EXPECT_EQ(f.ui.lastText(), "PocketPC install path not set (configured in IDE Settings...)");

    // An up-to-date output (no project items are newer) is copied as it is.
    test::writeBytes(f.d + "/PalmOS Debug/demo.vsm", "vsm");
    fsys::createFolders(f.tmp.file("hotsync"));
    f.settings.setString("Settings", "PalmPilotInstallDir", f.tmp.file("hotsync"));
    f.install.vsmInstall();
    EXPECT_EQ(f.ui.lastText(), "VSM file has been installed and will be downloaded on the next synchronization");
    EXPECT_EQ(test::readBytes(f.tmp.file("hotsync/Demo.VSM")), "vsm");

    f.workspace.project().activeConfiguration = "PocketPC Debug";
    fsys::createFolders(f.d + "/PocketPC Debug");
    test::writeBytes(f.d + "/PocketPC Debug/Demo.vce", "vce");
    f.settings.setString("Settings", "WinCEInstallDir", f.tmp.file("nowhere"));
    f.install.pocketPCInstall();
    EXPECT_EQ(f.ui.lastText(), "Could not install Demo.vce");
}
