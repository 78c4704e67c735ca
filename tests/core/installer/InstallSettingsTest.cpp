// The install settings: platform, file name, the settings tree with its
// nodes, key orders, defaults and boolean rule, the groups of the File
// Groups page, the creator-ID rules and the read-only refusal.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "installer/InstallSettings.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/ProjectSettings.h"

using namespace varn;
using namespace varn::install;

namespace {

InstallSettings sample() {
    InstallSettings s;
    s.applicationName = "Demo";
    s.companyName = "Acme";
    s.version = "1.2";
    s.applicationIcon = "/p/demo.ico";
    s.setupEpilogFile = "/p/epilog.txt";
    s.softwareLicenseFile = "/p/license.txt";
    s.showProgress = true;
    s.setupPrologFile = "/p/prolog.txt";
    s.welcomeBitmapFile = "/p/welcome.bmp";
    s.files(FileGroup::Device) = {"/p/Demo.vce", "/p/beep.wav"};
    s.files(FileGroup::Data) = {"/p/a.vdb"};
    s.files(FileGroup::Desktop) = {};
    s.files(FileGroup::Font) = {"/p/f.ttf"};
    s.files(FileGroup::ArmDlls) = {"/p/arm/x.dll"};
    s.files(FileGroup::MipsDlls) = {"/p/mips/x.dll"};
    s.files(FileGroup::Sh3Dlls) = {};
    s.applicationID = "44656D6F";
    s.applicationSyncDirectory = "DemoDir";
    s.applicationSyncName = "Demo Sync";
    s.installConduit = true;
    s.buildCabFiles = false;
    return s;
}

}  // namespace

TEST(InstallSettings, PlatformOfTheConfiguration) {
    const std::pair<const char*, TargetPlatform> cases[] = {
        {"PocketPC Debug", TargetPlatform::PocketPC},
        {"PocketPC Release", TargetPlatform::PocketPC},
        {"PalmOS Debug", TargetPlatform::PalmOS},
        {"PalmOS Release", TargetPlatform::PalmOS},
        {"Pilot Debug", TargetPlatform::Windows},
        {"Pilot Release", TargetPlatform::Windows},
        {"Windows Debug", TargetPlatform::Windows},
        {"Windows Release", TargetPlatform::Windows},
        {"", TargetPlatform::Windows},
    };
    for (const auto& [c, platform] : cases)  // names compare without case
        for (const std::string& name : {std::string(c), paths::lower(c), paths::upper(c)})
            EXPECT_EQ(installPlatformOf(name), platform) << name;
}

TEST(InstallSettings, FileLayoutPerPlatform) {
    for (auto p : {TargetPlatform::PalmOS, TargetPlatform::PocketPC, TargetPlatform::Windows}) {
        test::TempDir tmp;
        std::string path = tmp.file("Demo.ini");
        ASSERT_TRUE(sample().save(path, p).ok());
        EXPECT_TRUE(test::matchesGolden(test::readBytes(path),
                                        std::string("installer/settings/") + platformName(p) + "_InstallSettings.ini"));
    }
}

TEST(InstallSettings, RoundTripsOnPocketPC) {
    test::TempDir tmp;
    std::string path = tmp.file("Demo.ini");
    ASSERT_TRUE(sample().save(path, TargetPlatform::PocketPC).ok());
    InstallSettings r = InstallSettings::load(path);
    // Saving what was read writes the same bytes: no field is lost.
    std::string first = test::readBytes(path);
    ASSERT_TRUE(r.save(path, TargetPlatform::PocketPC).ok());
    EXPECT_EQ(test::readBytes(path), first);
}

TEST(InstallSettings, BooleansAnyCaseAndGroupKeysWhateverTheirName) {
    test::TempDir tmp;
    std::string path = tmp.file("Demo.ini");
    test::writeBytes(
        path,
        "[InstallSettings_v1]\r\nptn_Child1=Dialogs\r\nptn_Child2=FileGroups\r\nptn_Child3=SyncSettings\r\n"
        "ptn_Child4=Build\r\n"
        "[InstallSettings_v1.Dialogs]\r\nShowProgress=tRUE\r\n"
        "[InstallSettings_v1.FileGroups]\r\nptn_Child1=DeviceFiles\r\n"
        "[InstallSettings_v1.FileGroups.DeviceFiles]\r\nDeviceFile7=/a.prc\r\nOther=/b.pdb\r\n"
        "[InstallSettings_v1.SyncSettings]\r\nInstallConduit=yes\r\n"
        "[InstallSettings_v1.Build]\r\nBuildCabFiles=false\r\n");
    InstallSettings s = InstallSettings::load(path);
    EXPECT_TRUE(s.showProgress);
    EXPECT_FALSE(s.installConduit);
    EXPECT_FALSE(s.buildCabFiles);
    EXPECT_EQ(s.files(FileGroup::Device), (std::vector<std::string>{"/a.prc", "/b.pdb"}));
    EXPECT_TRUE(s.files(FileGroup::Data).empty());
}

TEST(InstallSettings, StaleKeysDisappearAndOtherSectionsStay) {
    test::TempDir tmp;
    std::string path = tmp.file("Demo.ini");
    InstallSettings s = sample();
    ASSERT_TRUE(s.save(path, TargetPlatform::PalmOS).ok());
    std::string text = test::readBytes(path);
    test::writeBytes(path, text + "[Elsewhere]\r\nKeep=1\r\n");
    s.files(FileGroup::Device) = {"/p/only.prc"};
    ASSERT_TRUE(s.save(path, TargetPlatform::PalmOS).ok());
    std::string after = test::readBytes(path);
    EXPECT_EQ(after.find("beep.wav"), std::string::npos);
    EXPECT_NE(after.find("DeviceFile1=/p/only.prc\r\n"), std::string::npos);
    EXPECT_EQ(after.find("DeviceFile2"), std::string::npos);
    EXPECT_NE(after.find("[Elsewhere]\r\nKeep=1\r\n"), std::string::npos);
}

TEST(InstallSettings, GroupsAcceptByExtension) {
    auto palm = groupsFor(TargetPlatform::PalmOS);
    EXPECT_TRUE(accepts(palm[0], "/x/Demo.PRC"));
    EXPECT_TRUE(accepts(palm[0], "/x/d.pdb"));
    EXPECT_FALSE(accepts(palm[0], "/x/d.vce"));
    EXPECT_FALSE(accepts(palm[1], "/x/notes.txt"));
    EXPECT_TRUE(accepts(palm[1], "/x/a.VDI"));
    EXPECT_TRUE(accepts(palm[2], "/x/notes.txt"));
    EXPECT_TRUE(accepts(palm[2], "/x/noextension"));
    EXPECT_FALSE(accepts(groupsFor(TargetPlatform::Windows)[0], "/x/a.vsp"));
}

TEST(InstallSettings, CreatorIdRules) {
    ProjectSettings p;
    p.creatorID = "44656d6f";
    p.ppcCreatorID = "50504331";
    EXPECT_EQ(applicationIdHex(p, TargetPlatform::PocketPC), "50504331");
    EXPECT_EQ(applicationIdHex(p, TargetPlatform::PalmOS), "5641524E");
    EXPECT_TRUE(syncFieldsFixed(p, TargetPlatform::PalmOS));
    EXPECT_FALSE(syncFieldsFixed(p, TargetPlatform::PocketPC));
    p.changeDBCreatorID = true;
    EXPECT_EQ(applicationIdHex(p, TargetPlatform::PalmOS), "44656d6f");
    EXPECT_FALSE(syncFieldsFixed(p, TargetPlatform::PalmOS));
    EXPECT_EQ(creatorDisplay("44656d6f"), "Demo");
    EXPECT_EQ(creatorDisplay("5641524E"), "VARN");

    InstallSettings s;
    s.applicationSyncName = "Mine";
    p.changeDBCreatorID = false;
    applySyncPageRules(s, p, TargetPlatform::PalmOS);
    EXPECT_EQ(s.applicationID, "5641524E");
    EXPECT_EQ(s.applicationSyncName, "VARN");
    EXPECT_EQ(s.applicationSyncDirectory, "VARN");
    InstallSettings w;
    applySyncPageRules(w, p, TargetPlatform::Windows);
    EXPECT_TRUE(w.applicationID.empty());
}

TEST(InstallSettings, ReadOnlyFileIsRefused) {
    test::TempDir tmp;
    std::string path = tmp.file("Demo_PalmOS_InstallSettings.ini");
    RecordingUi ui;
    EXPECT_EQ(sheetCaption(path), "Application Install Settings");
    EXPECT_EQ(saveAfterOk(sample(), path, TargetPlatform::PalmOS, ui), SaveOutcome::Saved);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_TRUE(fsys::setReadOnly(path, true).ok());
    std::string before = test::readBytes(path);
    EXPECT_EQ(sheetCaption(path), "Application Install Settings (read-only)");
    InstallSettings changed = sample();
    changed.applicationName = "Changed";
    EXPECT_EQ(saveAfterOk(changed, path, TargetPlatform::PalmOS, ui), SaveOutcome::ReadOnly);
    ASSERT_EQ(ui.texts(), std::vector<std::string>{"The file can not be saved because it is marked read-only"});
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(test::readBytes(path), before);
}
