// Make PRC through stand-in tools that note their arguments: every project
// setting and path reaches the C build and the PRC converter as one argument,
// and a creator ID the settings cannot hold starts no converter.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "build/BuildHost.h"
#include "build/ProjectBuilder.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "project/VARNWorkspaceManager.h"

using namespace varn;

namespace {

struct Fixture {
    test::TempDir tmp;
    std::string install = tmp.file("var n");  // blanks in every path handed over
    std::string d = tmp.file("Proj");
    std::string out = d + "/PalmOS Release";
    RecordingUi ui;
    SettingsStore settings;
    SymbolList symbols;
    VARNWorkspaceManager workspace{ui, settings, symbols, install};
    BuildHost host;
    ProjectBuilder builder{workspace, ui, settings, host, install};

    explicit Fixture(bool optimized) {
        fsys::createFolders(install + "/C_Build");
        fsys::createFolders(out);
        test::writeBytes(install + "/VARNsyms.txt", "");
        test::writeBytes(d + "/My Demo.vsl", "numeric x;\r\n");
        // The compiled input, as new as the source: no rebuild is offered.
        test::writeBytes(out + (optimized ? "/my demo.c" : "/my demo.vsm"), "compiled");
        tool(install + "/VARNprc.exe", "prc.args", "printf 'PRC complete: 0 error(s)\\r\\n' > VARNprc.log\n");
        tool(install + "/C_Build/C_Build.bat", "cbuild.args", "");
        ProjectModel& m = workspace.project();
        m.projectPath = d + "/My Demo.vpj";
        m.tree.setProjectRoot(m.projectPath, d + "/My Demo.vsl");
        m.activeConfiguration = "PalmOS Release";
        m.settings.optimizedBuild = optimized;
        m.settings.creatorID = "44656D6F";
        m.settings.desktopName = "Demo";
        m.settings.prcVersion = "1.0";
        m.settings.prcType = "Application";
    }
    // A tool that writes each of its arguments on a line of `record` in its working folder.
    static void tool(const std::string& path, const std::string& record, const std::string& more) {
        test::writeBytes(path,
                         "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + record + "'\n" + more);
        ::chmod(path.c_str(), 0755);
    }
    std::vector<std::string> arguments(const std::string& record) const {
        std::vector<std::string> lines;
        std::string text = test::readBytes(out + "/" + record);
        for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
            lines.push_back(text.substr(at, end - at));
        return lines;
    }
};

}  // namespace

TEST(ToolArguments, DesktopNameWithQuotesIsOneConverterArgument) {
    Fixture f(false);
    const std::string name = R"(Demo" -i "/etc/passwd)";
    f.workspace.project().settings.desktopName = name;
    f.builder.makePrc(true);
    EXPECT_TRUE(f.ui.messages.empty()) << f.ui.lastText();
    EXPECT_FALSE(f.builder.buildFailed());
    EXPECT_EQ(f.arguments("prc.args"), (std::vector<std::string>{f.out + "/My Demo.VSM", "0x44656D6F", "-n", name, "-v",
                                                                 "", "-t", "Application", "-b", "yes", "-bak", "no"}));
}

TEST(ToolArguments, CreatorIdsTheSettingCannotHoldStartNoConverter) {
    for (const char* creator : {"44656D6F -i /etc/passwd", "4465 6D6F", "44656D6F00", "0x4465", "Demo"}) {
        Fixture f(false);
        f.workspace.project().settings.creatorID = creator;
        f.builder.makePrc(true);
        std::string expected = ProjectBuilder::kBadCreator;
        expected.replace(expected.find("%s"), 2, creator);
        EXPECT_EQ(f.ui.texts(), std::vector<std::string>{expected}) << creator;
        EXPECT_TRUE(f.builder.buildFailed()) << creator;
        EXPECT_FALSE(fsys::exists(f.out + "/prc.args")) << creator;
    }
}

TEST(ToolArguments, CBuildTakesFolderAndBaseNameWithBlanksWhole) {
    Fixture f(true);
    f.builder.makePrc(true);
    EXPECT_EQ(f.arguments("cbuild.args"), (std::vector<std::string>{f.install + "/c_build/", "my demo"}));
    std::vector<std::string> prc = f.arguments("prc.args");
    ASSERT_FALSE(prc.empty());
    EXPECT_EQ(prc.front(), f.out + "/My Demo.PRC");
    EXPECT_EQ(prc.back(), "-gcc");
}
