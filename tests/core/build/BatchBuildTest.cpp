// Batch builds of the bundled samples as processes, through the stand-in
// toolchain: exit status, outputs, the PRC of PalmOS builds, the log copy.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/FileSystem.h"

using namespace varn;

namespace {

struct Install {
    test::TempDir tmp;
    std::string share = tmp.file("share/varn");

    Install() {
        fsys::createFolders(tmp.file("share"));
        fsys::createFolders(tmp.file("config/Quillfen"));
        test::runCommand("cp -r " + test::shellQuote(VARN_SHARE_DIR) + " " + test::shellQuote(share));
        test::writeBytes(tmp.file("config/Quillfen/VARNide43.ini"), "[InstallInfo]\nInstallPath=" + share + "\n");
    }
    test::ProcessOutput build(const std::string& sample, const std::string& configuration, const std::string& log,
                              const std::string& extra = {}) {
        return test::runCommand("cd " + test::shellQuote(tmp.path()) + " && XDG_CONFIG_HOME=" +
                                test::shellQuote(tmp.file("config")) + " XDG_CONFIG_DIRS=" +
                                test::shellQuote(tmp.file("none")) + " " + VARN_BIN_DIR "/varnide " +
                                test::shellQuote(share + "/samples/" + sample + "/" + sample + ".vpj") + " -build " +
                                test::shellQuote(configuration) + " -log " + test::shellQuote(log) + " " + extra);
    }
};

}  // namespace

TEST(BatchBuild, DemoBuildsForEveryConfiguration) {
    struct Case {
        const char* configuration;
        const char* output;
        bool prc;
    } cases[] = {
        {"PalmOS Debug", "demo.vsm", true},       {"PalmOS Release", "demo.vsm", true},
        {"Windows Debug", "demo.vsp", false},     {"Windows Release", "demo.vsp", false},
        {"PocketPC Debug", "Demo.VCE", false},    {"PocketPC Release", "Demo.VCE", false},
    };
    Install in;
    for (const auto& c : cases) {
        auto r = in.build("Demo", c.configuration, "build.log");
        EXPECT_EQ(r.status, 0) << c.configuration << "\n" << r.out << r.err;
        std::string out = in.share + "/samples/Demo/" + c.configuration + "/";
        EXPECT_TRUE(fsys::exists(out + c.output)) << c.configuration;
        EXPECT_EQ(fsys::exists(out + "Demo.PRC"), c.prc) << c.configuration;
        std::string log = test::readBytes(in.tmp.file("build.log"));
        EXPECT_EQ(log.find("***Build Error***"), std::string::npos) << log;
        EXPECT_FALSE(log.empty()) << c.configuration;
    }
    EXPECT_TRUE(fsys::exists(in.share + "/samples/Demo/Windows Debug/Demo.exe") ||
                !fsys::exists(in.share + "/VarnWin.exe"));
}

TEST(BatchBuild, ErrorSampleFails) {
    Install in;
    auto r = in.build("Broken", "Windows Debug", "logs/broken.log");
    EXPECT_EQ(r.status, 255) << r.out << r.err;
    std::string log = test::readBytes(in.tmp.file("logs/broken.log"));
    EXPECT_TRUE(log.empty() || log.rfind("***Build Error***\n\n", 0) == 0) << log;
    fsys::createFolders(in.tmp.file("logs"));
    r = in.build("Broken", "PalmOS Release", "logs/broken.log");
    EXPECT_EQ(r.status, 255);
    log = test::readBytes(in.tmp.file("logs/broken.log"));
    EXPECT_EQ(log.rfind("***Build Error***\n\n", 0), 0u) << log;
    EXPECT_NE(log.find("Line: 9"), std::string::npos) << log;
    EXPECT_NE(r.out.find("Line: 9"), std::string::npos) << "the build pane goes to standard output";
    EXPECT_FALSE(fsys::exists(in.share + "/samples/Broken/PalmOS Release/Broken.PRC"));
}

TEST(BatchBuild, InstallerAfterACleanPocketPCBuild) {
    Install in;
    auto r = in.build("Demo", "PocketPC Release", "build.log", "-buildinstaller");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    std::string log = test::readBytes(in.tmp.file("build.log"));
    EXPECT_NE(log.find("Building application installer...\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Build was successful."), std::string::npos) << log;
    std::string folder = in.share + "/samples/Demo/Demo_PocketPC_Install/";
    for (const char* cpu : {"ARM", "MIPS", "SH3"})
        EXPECT_TRUE(fsys::exists(folder + "Demo.PPC3_" + cpu + ".CAB")) << cpu;
    EXPECT_NE(log.find("Updating application icon..."), std::string::npos);

    // The runtime in the cabinet carries the sample's icon: its 32 x 32 and
    // 16 x 16 images of 256 colours (2216 and 1384 bytes) replace the runtime's own.
    if (test::runCommand("command -v cabextract && command -v wrestool").status == 0) {
        auto listing = test::runCommand("cd " + test::shellQuote(in.tmp.path()) + " && cabextract -q -d cab " +
                                        test::shellQuote(folder + "Demo.PPC3_ARM.CAB") + " && wrestool -l cab/Demo.exe");
        EXPECT_NE(listing.out.find("--type=3 --name=1 --language=1033 [type=icon offset="), std::string::npos)
            << listing.out << listing.err;
        EXPECT_NE(listing.out.find("size=2216]"), std::string::npos) << listing.out;
        EXPECT_NE(listing.out.find("size=1384]"), std::string::npos) << listing.out;
    }

    // A Windows build ignores the switch.
    r = in.build("Demo", "Windows Release", "win.log", "-buildinstaller");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(test::readBytes(in.tmp.file("win.log")).find("Building application installer"), std::string::npos);
}

TEST(BatchBuild, FailedInstallerBuildFailsTheBatchBuild) {
    Install in;
    ASSERT_TRUE(fsys::removeFile(in.share + "/Setup.exe"));  // the installer's first copy fails
    auto r = in.build("Demo", "PalmOS Release", "build.log", "-buildinstaller");
    EXPECT_EQ(r.status, 255) << r.out << r.err;
    std::string log = test::readBytes(in.tmp.file("build.log"));
    EXPECT_NE(log.find("Copy failed"), std::string::npos) << log;
    EXPECT_TRUE(fsys::exists(in.share + "/samples/Demo/PalmOS Release/Demo.PRC")) << "the compile itself succeeded";
}
