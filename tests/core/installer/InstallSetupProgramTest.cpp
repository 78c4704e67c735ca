// The stand-in setup program: a test install of a built PalmOS installer
// folder into the folder named by VARN_TEST_INSTALL_ROOT.
#include <gtest/gtest.h>

#include "InstallTestSupport.h"

using namespace varn;
using namespace varn::install;

TEST(InstallSetupProgram, InstallsDeviceAndDesktopFiles) {
    test::InstallFixture f;
    auto b = f.builder(TargetPlatform::PalmOS);
    InstallSettings s;
    s.applicationName = "Demo";
    s.files(FileGroup::Device) = {f.projectFile("Demo.prc")};
    s.files(FileGroup::Data) = {f.projectFile("Demo.vdb")};
    s.files(FileGroup::Desktop) = {f.projectFile("readme.txt")};
    ASSERT_TRUE(b.build(s));
    const std::string root = f.tmp.file("installs");
    const std::string setup = std::string(VARN_SHARE_DIR) + "/Setup.exe";
    auto r = test::runCommand("VARN_TEST_INSTALL_ROOT=" + test::shellQuote(root) + " " + test::shellQuote(setup) + " " +
                              test::shellQuote(b.installDirectory() + "/InstallScript.ini"));
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(test::listTree(root + "/Demo_PalmOS"),
              (std::set<std::string>{"Device/", "Device/Demo.prc", "Device/Demo.vdb", "Desktop/",
                                     "Desktop/Instaide.dll", "Desktop/HSAPI.dll", "Desktop/readme.txt",
                                     "install.log"}));
    EXPECT_NE(r.out.find("Test install complete."), std::string::npos);
}
