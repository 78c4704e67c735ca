// The command-line rules, quirks included.
#include <gtest/gtest.h>

#include "app/CVarnCommandLineInfo.h"

using namespace varn;

namespace {

CVarnCommandLineInfo parse(std::vector<std::string> args) {
    CVarnCommandLineInfo info;
    info.parse(args);
    return info;
}

}  // namespace

TEST(CommandLine, Table) {
    struct Case {
        std::vector<std::string> args;
        std::string file, project, build, log;
        std::vector<std::string> vars;
        bool installer;
    } cases[] = {
        {{"Demo.vpj", "-build", "PalmOS Release", "-log", "b.log"}, "Demo.vpj", "", "PalmOS Release", "b.log", {}, false},
        {{"/BUILD", "Windows Debug", "/Project", "x.vpj"}, "Windows Debug", "x.vpj", "Windows Debug", "", {}, false},
        {{"-log", "l.txt", "-build", "b", "-buildinstaller", "a.vpj"}, "l.txt", "", "b", "l.txt", {}, true},
        {{"-variable", "a=1", "-VARIABLE", "string b = \"x\"", "-variable", "novalue"},
         "a=1", "", "", "", {"a=1", "string b = \"x\"", "novalue"}, false},
        // A path after the project switch is also the standard file name.
        {{"-project", "p.vpj", "-build", "PocketPC Debug"}, "p.vpj", "p.vpj", "PocketPC Debug", "", {}, false},
        // The project switch swallows the next token, even a switch.
        {{"-project", "-build", "x"}, "x", "build", "", "", {}, false},
        // Missing arguments leave the field empty.
        {{"-build"}, "", "", "", "", {}, false},
        {{"-log"}, "", "", "", "", {}, false},
        {{"/home/me/Demo.vpj", "/build", "Windows Release"}, "/home/me/Demo.vpj", "", "Windows Release", "", {}, false},
    };
    for (const auto& c : cases) {
        auto info = parse(c.args);
        std::string where = c.args.empty() ? "" : c.args.front();
        EXPECT_EQ(info.fileName, c.file) << where;
        EXPECT_EQ(info.projectPath, c.project) << where;
        EXPECT_EQ(info.buildType, c.build) << where;
        EXPECT_EQ(info.logPath, c.log) << where;
        EXPECT_EQ(info.variables, c.vars) << where;
        EXPECT_EQ(info.buildInstaller, c.installer) << where;
    }
}

TEST(CommandLine, StandardShellFields) {
    auto open = parse({"a.vsl"});
    EXPECT_EQ(open.shellCommand, CVarnCommandLineInfo::FileOpen);
    EXPECT_EQ(parse({}).shellCommand, CVarnCommandLineInfo::FileNew);
    auto printTo = parse({"/pt", "a.vsl", "printer", "driver", "port"});
    EXPECT_EQ(printTo.shellCommand, CVarnCommandLineInfo::FilePrintTo);
    EXPECT_EQ(printTo.printerName, "printer");
    EXPECT_EQ(printTo.portName, "port");
    auto embedded = parse({"-Embedding"});
    EXPECT_TRUE(embedded.runEmbedded);
    EXPECT_FALSE(embedded.showSplash);
}
