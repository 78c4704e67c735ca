// The installer build against fixture projects: the steps in order with
// their progress lines, the folder contents per platform, the warnings, the
// first verify failure, failed copies, the folder preparation, the cabinet
// wizard (missing, and the real stand-in read back by cabextract), the
// clean-up commands, Test Install and the batch build.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "InstallTestSupport.h"
#include "installer/InstallerBuild.h"
#include "platform/Paths.h"
#include "project/ProjectModel.h"

using namespace varn;
using namespace varn::install;
using test::listTree;

namespace {

std::set<std::string> names(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

InstallSettings palmSettings(test::InstallFixture& f) {
    InstallSettings s;
    s.applicationName = "Demo";
    s.files(FileGroup::Device) = {f.projectFile("Demo.prc")};
    s.files(FileGroup::Data) = {f.projectFile("data/Demo.vdb")};
    s.files(FileGroup::Desktop) = {f.projectFile("readme.txt")};
    return s;
}

InstallSettings ppcSettings(test::InstallFixture& f) {
    InstallSettings s;
    s.applicationName = "Demo";
    s.companyName = "Acme";
    s.files(FileGroup::Device) = {f.projectFile("Demo.vce"), f.projectFile("snd/beep.wav")};
    s.files(FileGroup::Data) = {f.projectFile("Demo.vdb")};
    s.files(FileGroup::Font) = {f.projectFile("f.ttf")};
    s.files(FileGroup::ArmDlls) = {f.projectFile("arm/ext.dll")};
    s.files(FileGroup::MipsDlls) = {f.projectFile("mips/ext.dll")};
    s.files(FileGroup::Sh3Dlls) = {f.projectFile("sh3/ext.dll")};
    return s;
}

// A stand-in wizard in the IDE folder under `name`: it notes its arguments
// and, when asked, leaves the three (empty) cabinets.
void wizard(test::InstallFixture& f, const char* name, bool makesCabinets) {
    std::string script = "#!/bin/sh\necho \"$@\" > wizard.args\n";
    if (makesCabinets) script += "touch Demo.PPC3_ARM.CAB Demo.PPC3_MIPS.CAB Demo.PPC3_SH3.CAB\n";
    const std::string path = f.ide + "/" + name;
    test::writeBytes(path, script);
    ::chmod(path.c_str(), 0755);
}

const std::vector<const char*> kPalmSteps = {"Verifying install settings",     "Creating the install script",
                                             "Copying core install files",     "Copying dialog files",
                                             "Copying VARN application files", "Copying device files",
                                             "Copying Desktop files"};

// The results of a build whose steps all pass ("WARNING" lines as they stand).
std::string resultsOf(const std::vector<const char*>& steps) {
    std::string results;
    for (const char* step : steps) results += std::string(step) + (step[0] == 'W' ? "" : "...") + "\r\n";
    return results + "Build was successful.\r\n";
}

}  // namespace

// The steps and the install folder per platform and settings, against
// tests/data/installer/layouts/<name>.txt: the results, then the folder's tree.
struct Layout {
    const char* name;
    TargetPlatform platform;
    void (*edit)(InstallSettings&, test::InstallFixture&);
};

const Layout kLayouts[] = {
    {"PalmOSWithoutConduit", TargetPlatform::PalmOS, [](InstallSettings&, test::InstallFixture&) {}},
    {"PalmOSWithConduitAndDialogs", TargetPlatform::PalmOS,
     [](InstallSettings& s, test::InstallFixture& f) {
         s.installConduit = true;
         s.softwareLicenseFile = f.projectFile("text/license.txt");
         s.welcomeBitmapFile = "welcome.bmp";  // relative: taken from the project folder
         f.projectFile("welcome.bmp");
     }},
    {"EmptyApplicationGroupWarns", TargetPlatform::PalmOS,
     [](InstallSettings& s, test::InstallFixture&) { s.files(FileGroup::Device).clear(); }},
    {"WindowsCopiesOnlyTheSetupProgramAndGroups", TargetPlatform::Windows,
     [](InstallSettings& s, test::InstallFixture& f) {
         s = InstallSettings{};
         s.files(FileGroup::Device) = {f.projectFile("Demo.vsp")};
     }},
    {"PocketPCWithoutCabFilesKeepsTheDefinitionFiles", TargetPlatform::PocketPC,
     [](InstallSettings& s, test::InstallFixture& f) {
         s = ppcSettings(f);
         s.buildCabFiles = false;
     }},
};

void PrintTo(const Layout& l, std::ostream* os) { *os << l.name; }

class InstallerLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(InstallerLayout, StepsAndFolderContents) {
    const Layout& l = GetParam();
    test::InstallFixture f;
    auto b = f.builder(l.platform);
    InstallSettings s = palmSettings(f);
    l.edit(s, f);
    ASSERT_TRUE(b.build(s)) << b.results();
    std::string shown = b.results() + "--\n";
    for (const std::string& name : listTree(b.installDirectory())) shown += name + "\n";
    EXPECT_TRUE(test::matchesGolden(shown, "installer/layouts/" + std::string(l.name) + ".txt"));
    EXPECT_TRUE(f.ui.messages.empty());
    EXPECT_TRUE(f.iconCalls.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, InstallerLayout, ::testing::ValuesIn(kLayouts),
                         [](const auto& i) { return std::string(i.param.name); });

TEST(InstallerBuild, CopiedFilesAndScript) {
    test::InstallFixture f;
    auto palm = f.builder(TargetPlatform::PalmOS);
    EXPECT_EQ(palm.installDirectory(), f.project + "/Demo_PalmOS_Install");
    ASSERT_TRUE(palm.build(palmSettings(f)));
    EXPECT_EQ(test::readBytes(palm.installDirectory() + "/Setup.exe"), "ide:Setup.exe");
    EXPECT_EQ(test::readBytes(palm.installDirectory() + "/Demo.vdb"), "user:data/Demo.vdb");

    auto b = f.builder(TargetPlatform::PocketPC);
    InstallSettings p = ppcSettings(f);
    p.buildCabFiles = false;
    ASSERT_TRUE(b.build(p));
    const std::string dir = b.installDirectory();
    EXPECT_EQ(test::readBytes(dir + "/MIPS/Demo.exe"), "ide:PocketPC/MIPS/VARNppc.exe");
    EXPECT_EQ(test::readBytes(dir + "/SH3/ext.dll"), "user:sh3/ext.dll");
    // The files' texts are InstallFiles' golden files; here the wizard's path reaches them.
    EXPECT_EQ(test::readBytes(dir + "/buildcab.bat"),
              "\"" + f.ide + "/CabWiz.exe\" \".\\Demo.inf\" /err err.log /cpu PPC3_SH3 PPC3_MIPS PPC3_ARM\n\n");
}

TEST(InstallerBuild, FirstVerifyFailureEndsTheBuild) {
    test::InstallFixture f;
    auto b = f.builder(TargetPlatform::PocketPC);
    InstallSettings s = ppcSettings(f);
    s.files(FileGroup::Data).push_back(f.project + "/missing1.vdb");
    s.files(FileGroup::MipsDlls).push_back(f.project + "/missing2.dll");
    EXPECT_FALSE(b.build(s));
    const std::string error = "Could not copy file group data file:\r\n" + f.project + "/missing1.vdb\r\n";
    EXPECT_EQ(b.results(), "Verifying install settings...\r\n" + error + "Verify failed\r\n");
    EXPECT_EQ(f.ui.texts(), std::vector<std::string>{error});
    EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Error);
    EXPECT_FALSE(fsys::exists(b.installDirectory()));

    // A dialog file is checked before the groups.
    test::InstallFixture g;
    auto c = g.builder(TargetPlatform::PocketPC);
    InstallSettings t = ppcSettings(g);
    t.setupPrologFile = "prolog.txt";
    t.files(FileGroup::ArmDlls).push_back("gone.dll");
    EXPECT_FALSE(c.build(t));
    EXPECT_EQ(c.results(),
              "Verifying install settings...\r\nCould not find dialog prolog file:\r\nprolog.txt\r\n"
              "Verify failed\r\n");
}

TEST(InstallerBuild, PocketPCConduitAndIcon) {
    test::InstallFixture f;
    auto b = f.builder(TargetPlatform::PocketPC);
    InstallSettings s = ppcSettings(f);
    s.buildCabFiles = false;
    s.installConduit = true;
    s.applicationIcon = f.projectFile("app.ico");
    ASSERT_TRUE(b.build(s));
    const std::string dir = b.installDirectory();
    EXPECT_NE(b.results().find("Copying core install files...\r\nUpdating application icon...\r\n(icon update)\r\n"
                               "Copying dialog files...\r\n"),
              std::string::npos);
    EXPECT_EQ(f.iconCalls, std::vector<std::string>{f.project + "/app.ico|" + dir + "|Demo"});
    EXPECT_EQ(test::readBytes(dir + "/Demo_icon.exe"), "ide:PocketPC/ARM/VARNppc.exe");
    EXPECT_EQ(test::readBytes(dir + "/ARM/Demo.dll"), "ide:PocketPC/ARM/VARNdev.dll");
    EXPECT_EQ(test::readBytes(dir + "/VARNsync.dll"), "ide:PocketPC/VARNsync.dll");
}

TEST(InstallerBuild, MissingRuntimeFileFailsTheCopy) {
    test::InstallFixture f;
    fsys::removeFile(f.ide + "/PocketPC/MIPS/gx.dll");
    auto b = f.builder(TargetPlatform::PocketPC);
    EXPECT_FALSE(b.build(ppcSettings(f)));
    const std::string error = "Could not copy the DLL file:\r\n" + f.ide + "/PocketPC/MIPS/gx.dll\r\n";
    EXPECT_EQ(b.results(),
              "Verifying install settings...\r\nCreating the install script...\r\n"
              "Copying core install files...\r\n" +
                  error + "Copy failed\r\n");
    EXPECT_EQ(f.ui.texts(), std::vector<std::string>{error});
}

TEST(InstallerBuild, PreparationClearsWhatAnEarlierBuildLeft) {
    test::InstallFixture f;
    auto b = f.builder(TargetPlatform::PalmOS);
    const std::string dir = b.installDirectory();
    fsys::createFolders(dir + "/ARM/deep");
    fsys::createFolders(dir + "/Other");
    test::writeBytes(dir + "/old.txt", "old");
    test::writeBytes(dir + "/ARM/deep/x.exe", "old");
    test::writeBytes(dir + "/Other/keep.txt", "keep");
    fsys::setReadOnly(dir + "/old.txt", true);
    fsys::setReadOnly(dir + "/Other/keep.txt", true);
    ::chmod((dir + "/ARM/deep").c_str(), 0555);
    ASSERT_TRUE(b.build(palmSettings(f)));
    auto tree = listTree(dir);
    EXPECT_EQ(tree.count("old.txt"), 0u);
    EXPECT_EQ(tree.count("ARM/"), 0u);
    EXPECT_EQ(tree.count("Other/keep.txt"), 1u);
    EXPECT_FALSE(fsys::isReadOnly(dir + "/Other/keep.txt"));
    // Same file name twice in a group: the later copy wins over the read-only first one.
    InstallSettings s = palmSettings(f);
    fsys::setReadOnly(f.project + "/readme.txt", true);
    s.files(FileGroup::Desktop).push_back(f.projectFile("other/readme.txt"));
    ASSERT_TRUE(b.build(s));
    EXPECT_EQ(test::readBytes(dir + "/readme.txt"), "user:other/readme.txt");
}

TEST(InstallerBuild, InstallFolderThatIsAFile) {
    test::InstallFixture f;
    auto b = f.builder(TargetPlatform::PalmOS);
    test::writeBytes(b.installDirectory(), "a file");
    EXPECT_FALSE(b.build(palmSettings(f)));
    const std::string error = "Could not create " + b.installDirectory() + "/InstallScript.ini\r\n";
    EXPECT_EQ(b.results(),
              "Verifying install settings...\r\nCreating the install script...\r\n" + error + "Create failed\r\n");
    EXPECT_EQ(test::readBytes(b.installDirectory()), "a file");
}

TEST(InstallerBuild, CabwizMissing) {
    test::InstallFixture f;
    auto b = f.builder(TargetPlatform::PocketPC);
    EXPECT_FALSE(b.build(ppcSettings(f)));
    EXPECT_NE(b.results().find("Building cab definition files...\r\nCreating cab files...\r\n"
                               "ERROR: Cabwiz was not found in the VARN install directory\r\n"),
              std::string::npos);
    EXPECT_EQ(b.results().find("Build was successful."), std::string::npos);
    ASSERT_EQ(f.ui.texts(), std::vector<std::string>{"Cabwiz was not found in the VARN install directory.\r\n\n"
                                                     "Cabwiz can be found on the Microsoft site in the PocketPC SDK "
                                                     "(PPC2002_SDK.exe)\r\n"});
    EXPECT_TRUE(fsys::exists(b.installDirectory() + "/Demo.inf"));
}

TEST(InstallerBuild, TheWizardFoundIsStartedAndMustMakeTheCabinets) {
    const std::string cabs = "Demo.PPC3_ARM.CAB, Demo.PPC3_MIPS.CAB, Demo.PPC3_SH3.CAB";
    struct Case {
        const char* name;
        bool makesCabinets;
    } cases[] = {{"Cabwiz.exe", true}, {"CabWiz.exe", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::InstallFixture f;
        wizard(f, c.name, c.makesCabinets);
        auto b = f.builder(TargetPlatform::PocketPC);
        EXPECT_EQ(b.build(ppcSettings(f)), c.makesCabinets);
        EXPECT_TRUE(fsys::exists(b.installDirectory() + "/wizard.args"));
        if (c.makesCabinets) continue;
        const std::string error = "Cabwiz did not create " + cabs + " (see err.log)\r\n";
        EXPECT_NE(b.results().find("Creating cab files...\r\nERROR: " + error), std::string::npos);
        EXPECT_EQ(f.ui.texts(), std::vector<std::string>{error});
        EXPECT_TRUE(fsys::exists(b.installDirectory() + "/Demo.inf"));  // kept for another try
    }
}

TEST(InstallerBuild, CleanUpCommandsGoThroughComspec) {
    test::InstallFixture f;
    // A wizard that notes its arguments and leaves empty cabinets, and an
    // interpreter that notes each command.
    wizard(f, "CabWiz.exe", true);
    const std::string log = f.tmp.file("commands.log");
    const std::string comspec = f.tmp.file("cmd.sh");
    test::writeBytes(comspec, "#!/bin/sh\necho \"$*\" >> '" + log + "'\n");
    ::chmod(comspec.c_str(), 0755);
    auto b = f.builder(TargetPlatform::PocketPC);
    b.setComspec(comspec);
    ASSERT_TRUE(b.build(ppcSettings(f)));
    EXPECT_NE(b.results().find("Creating cab files...\r\nRemoving temporary files...\r\nBuild was successful.\r\n"),
              std::string::npos);
    EXPECT_EQ(test::readBytes(b.installDirectory() + "/wizard.args"),
              ".\\Demo.inf /err err.log /cpu PPC3_SH3 PPC3_MIPS PPC3_ARM\n");
    std::string expected;
    for (const char* c : kCleanupCommands) expected += std::string("/c ") + c + "\n";
    EXPECT_EQ(test::readBytes(log), expected);
}

TEST(InstallerBuild, CabFilesReadBackByCabextract) {
    test::InstallFixture f;
    const std::string wizard = std::string(VARN_SHARE_DIR) + "/CabWiz.exe";
    ASSERT_TRUE(fsys::exists(wizard));
    ASSERT_EQ(::symlink(wizard.c_str(), (f.ide + "/CabWiz.exe").c_str()), 0);
    auto b = f.builder(TargetPlatform::PocketPC);
    InstallSettings s = ppcSettings(f);
    s.installConduit = true;
    ASSERT_TRUE(b.build(s)) << b.results();
    const std::string dir = b.installDirectory();
    EXPECT_EQ(listTree(dir),
              names({"Setup.exe", "InstallScript.ini", "VARNvdi2ppc.exe", "VARNregARM.exe", "VARNregSH3.exe",
                     "VARNregMIPS.exe", "VARNsync.dll", "Demo_icon.exe", "Demo.vdb", "err.log", "Demo.ini",
                     "Demo.PPC3_ARM.CAB", "Demo.PPC3_MIPS.CAB", "Demo.PPC3_SH3.CAB"}));
    EXPECT_EQ(test::readBytes(dir + "/err.log"), "");
    for (const char* cpu : {"ARM", "MIPS", "SH3"}) {
        std::string cab = dir + "/Demo.PPC3_" + cpu + ".CAB";
        auto list = test::runCommand("cabextract -l " + test::shellQuote(cab));
        ASSERT_EQ(list.status, 0) << list.err;
        for (const char* name : {"Demo.exe", "Demo.dll", "gx.dll", "SetupDll.dll", "SetupDll.dat", "Demo.vce",
                                 "beep.wav", "ext.dll", "f.ttf"})
            EXPECT_NE(list.out.find(std::string(" | ") + name + "\n"), std::string::npos) << cpu << " " << name;
        std::string out = f.tmp.file(std::string("x") + cpu);
        fsys::createFolders(out);
        auto x = test::runCommand("cabextract -q -d " + test::shellQuote(out) + " " + test::shellQuote(cab));
        ASSERT_EQ(x.status, 0) << x.err;
        EXPECT_EQ(test::readBytes(out + "/Demo.exe"), "ide:PocketPC/" + std::string(cpu) + "/VARNppc.exe");
        EXPECT_EQ(test::readBytes(out + "/ext.dll"), "user:" + paths::lower(cpu) + "/ext.dll");
        EXPECT_EQ(test::readBytes(out + "/SetupDll.dat"), "CreatorId=Demo\nFontFile=f.ttf\n");
        EXPECT_EQ(test::readBytes(out + "/beep.wav"), "user:snd/beep.wav");
    }
}

TEST(InstallerBuild, TestInstallOpensTheSetupProgram) {
    test::InstallFixture f;
    auto b = f.builder(TargetPlatform::PalmOS);
    std::vector<std::string> calls;
    b.setShellOpen([&](const std::string& program, const std::string& parameters, const std::string& folder) {
        calls = {program, parameters, folder};
        return 42;
    });
    EXPECT_TRUE(b.testInstall());
    const std::string dir = b.installDirectory();
    EXPECT_EQ(calls, (std::vector<std::string>{dir + "/Setup.exe", "\"" + dir + "/InstallScript.ini\"", dir}));
    EXPECT_TRUE(f.ui.messages.empty());

    auto c = f.builder(TargetPlatform::PalmOS);  // the real start: no install folder yet
    EXPECT_FALSE(c.testInstall());
    EXPECT_EQ(f.ui.texts(), std::vector<std::string>{"Could not execute the install program, error code 2"});
}

TEST(InstallerBuild, BatchBuildAppendsToTheLogCopyAndSaves) {
    test::InstallFixture f;
    ProjectModel m;
    m.projectPath = f.project + "/Demo.vpj";
    m.activeConfiguration = "PalmOS Release";
    const std::string settingsPath = f.project + "/Demo_PalmOS_InstallSettings.ini";
    ASSERT_TRUE(palmSettings(f).save(settingsPath, TargetPlatform::PalmOS).ok());
    const std::string logCopy = f.tmp.file("build.log");
    test::writeBytes(logCopy, "compile log\r\n");
    EXPECT_TRUE(runBatchInstaller(m, f.ide, logCopy, f.ui));
    EXPECT_EQ(test::readBytes(logCopy),
              std::string("compile log\r\nBuilding application installer...\n") + resultsOf(kPalmSteps) + "\n");
    // Saved as OK would: the Synchronization page's fixed fields.
    InstallSettings saved = InstallSettings::load(settingsPath);
    EXPECT_EQ(saved.applicationID, "5641524E");
    EXPECT_EQ(saved.applicationSyncName, "VARN");
    EXPECT_TRUE(f.ui.messages.empty());

    const std::string badLog = f.tmp.file("no/such/folder/build.log");
    runBatchInstaller(m, f.ide, badLog, f.ui);
    EXPECT_EQ(f.ui.texts(), std::vector<std::string>{"Unable to open error log copy " + badLog + ", error code is 2."});
}
