// The generated files against golden files: the install script per
// platform, and for PocketPC SetupDll.dat, the .inf with and without the
// conduit and with empty and set names, the two batch files and the .ini.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "installer/InstallFiles.h"

using namespace varn;
using namespace varn::install;

namespace {

ProjectFacts facts() {
    ProjectFacts f;
    f.baseName = "Demo";
    f.creatorID = "44656D6F";
    f.desktopName = "Demo Desk";
    return f;
}

InstallSettings named() {
    InstallSettings s;
    s.applicationName = "Demo Application";
    s.companyName = "Acme Soft";
    s.version = "2.0";
    s.setupEpilogFile = "/home/u/p/epilog.txt";
    s.softwareLicenseFile = "C:\\p\\license.txt";
    s.showProgress = true;
    s.welcomeBitmapFile = "/home/u/p/art/welcome.bmp";
    s.files(FileGroup::Device) = {"/home/u/p/Demo.vce", "/home/u/p/sounds/beep.wav"};
    s.files(FileGroup::Data) = {"/home/u/p/data/a.vdb", "/home/u/p/b.vdi"};
    s.files(FileGroup::Desktop) = {"/home/u/p/readme.txt"};
    s.files(FileGroup::Font) = {"/home/u/p/fonts/f1.ttf", "/home/u/p/f2.ttf"};
    s.files(FileGroup::ArmDlls) = {"/home/u/p/arm/x.dll"};
    s.files(FileGroup::MipsDlls) = {"/home/u/p/mips/x.dll"};
    s.applicationSyncDirectory = "DemoDir";
    s.applicationSyncName = "Demo Sync";
    s.installConduit = true;
    return s;
}

InstallSettings unnamed() {
    InstallSettings s = named();
    s.applicationName.clear();
    s.companyName.clear();
    s.installConduit = false;
    s.files(FileGroup::Font).clear();
    s.files(FileGroup::ArmDlls).clear();
    return s;
}

std::string golden(const std::string& name) { return "installer/files/" + name; }

}  // namespace

TEST(InstallFiles, InstallScriptPerPlatform) {
    ProjectFacts f = facts();
    EXPECT_TRUE(test::matchesGolden(installScriptText(f, TargetPlatform::PalmOS, named()),
                                    golden("PalmOS/InstallScript.ini")));
    EXPECT_TRUE(test::matchesGolden(installScriptText(f, TargetPlatform::PocketPC, named()),
                                    golden("PocketPC/InstallScript.ini")));
    EXPECT_TRUE(test::matchesGolden(installScriptText(f, TargetPlatform::Windows, unnamed()),
                                    golden("Windows/InstallScript.ini")));
    f.changeDBCreatorID = true;
    EXPECT_TRUE(test::matchesGolden(installScriptText(f, TargetPlatform::PalmOS, unnamed()),
                                    golden("PalmOS/InstallScript_dbcreator.ini")));
}

TEST(InstallFiles, CreatorOfTheCabFiles) {
    EXPECT_EQ(cabCreator(""), "VARN");
    EXPECT_EQ(cabCreator("44656d6f"), "Demo");
    EXPECT_EQ(cabCreator("2041422020"), "AB");  // cut to 4, then trimmed
    EXPECT_EQ(cabCreator("414243444546"), "ABCD");
}

TEST(InstallFiles, CabDefinitionFiles) {
    const ProjectFacts f = facts();
    EXPECT_TRUE(test::matchesGolden(setupDllDatText("Demo", named()), golden("PocketPC/SetupDll.dat")));
    EXPECT_TRUE(test::matchesGolden(setupDllDatText("VARN", unnamed()), golden("PocketPC/SetupDll_nofonts.dat")));
    EXPECT_TRUE(test::matchesGolden(cabInfText(f, "Demo", named()), golden("PocketPC/Demo_conduit.inf")));
    ProjectFacts noDesk = f;
    noDesk.desktopName.clear();
    EXPECT_TRUE(test::matchesGolden(cabInfText(noDesk, "Demo", unnamed()), golden("PocketPC/Demo_plain.inf")));
    EXPECT_TRUE(test::matchesGolden(buildCabText("/opt/varn", "Demo"), golden("PocketPC/buildcab.bat")));
    EXPECT_TRUE(test::matchesGolden(cleanupBatText(), golden("PocketPC/buildcab_cleanup.bat")));
    EXPECT_TRUE(test::matchesGolden(appManagerIniText("Demo", named()), golden("PocketPC/Demo.ini")));
    EXPECT_TRUE(test::matchesGolden(appManagerIniText("Demo", unnamed()), golden("PocketPC/Demo_unnamed.ini")));
}

TEST(InstallFiles, EntryFileName) {
    EXPECT_EQ(entryFileName("/a/b/c.prc"), "c.prc");
    EXPECT_EQ(entryFileName("C:\\a\\c.prc"), "c.prc");
    EXPECT_EQ(entryFileName(".\\sub/c.prc"), "c.prc");
    EXPECT_EQ(entryFileName("plain.prc"), "plain.prc");
    EXPECT_EQ(entryFileName(""), "");
}
