// Install commands: HotSync users through the folder stand-in, and the copies
// to the install folders with their messages.
#include <gtest/gtest.h>

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
