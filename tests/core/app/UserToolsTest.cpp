// User tools: the "VARNTools.dat" reader and writer, the project macros and
// their expansion, and starting a tool.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "app/UserTools.h"
#include "platform/FileSystem.h"
#include "project/ProjectModel.h"

using namespace varn;
using test::TempDir;

namespace {

using Tools = std::vector<UserTool>;

ProjectModel demoProject(const std::string& folder) {
    ProjectModel p;
    p.projectPath = folder + "/Demo.vpj";
    p.tree.setProjectRoot(p.projectPath, folder + "/src/Main.vsl");
    p.setActiveConfiguration("PalmOS Debug");
    return p;
}

}  // namespace

TEST(UserTools, ReaderSkipsIncompleteToolsAndJunk) {
    struct Row {
        const char* what;
        const char* text;
        Tools tools;
    };
    const Row rows[] = {
        {"empty", "", {}},
        {"not a profile", "\x01\x02garbage\n=\n[", {}},
        {"one tool, LF and blanks",
         "[Tool1]\nMenuText = &Edit \nCommand=/usr/bin/editor\nArguments=$(SourcePath)\n",
         {{"&Edit", "/usr/bin/editor", "$(SourcePath)", ""}}},
        {"number order, gaps and incomplete tools skipped",
         "[Tool3]\r\nMenuText=Three\r\nCommand=c3\r\n[Tool1]\r\nMenuText=One\r\nCommand=c1\r\n"
         "[Tool2]\r\nMenuText=NoCommand\r\n[Tool4]\r\nCommand=noText\r\n",
         {{"One", "c1", "", ""}, {"Three", "c3", "", ""}}},
        {"no more than nine", "[Tool10]\nMenuText=Ten\nCommand=c\n[tool9]\nmenutext=Nine\ncommand=c\n", {{"Nine", "c", "", ""}}},
        {"quoted values unquoted", "[Tool1]\nMenuText=\" x \"\nCommand=c\nArguments=\"\"a b\"\"\n", {{" x ", "c", "\"a b\"", ""}}},
    };
    for (const Row& r : rows) EXPECT_EQ(UserTools::parse(r.text), r.tools) << r.what;
}

TEST(UserTools, RoundTripThroughTheFile) {
    TempDir tmp;
    const Tools tools = {
        {"&Grep", "/bin/grep", "-n \"$(ProjectName)\" $(SourcePath)*.vsl", "$(ProjectPath)"},
        {" padded ", "'quoted'", "\"whole\"", "\t"},
        {"Line\nbreak", "c\r", "\rx", ""},
    };
    const std::string path = UserTools::filePath(tmp.path());
    EXPECT_EQ(path, tmp.file("VARNTools.dat"));
    ASSERT_TRUE(UserTools::save(path, tools).ok());
    auto back = UserTools::load(path);
    ASSERT_TRUE(back.ok());
    Tools expected = tools;
    expected[2].menuText = "Line break";  // a line feed inside a value becomes a blank
    EXPECT_EQ(*back, expected);

    Tools many(12, UserTool{"t", "c", "", ""});
    for (std::size_t i = 0; i < many.size(); ++i) many[i].menuText = "t" + std::to_string(i);
    auto nine = UserTools::parse(UserTools::serialize(many));
    ASSERT_EQ(nine.size(), 9u);
    EXPECT_EQ(nine.back().menuText, "t8");

    auto none = UserTools::load(tmp.file("missing.dat"));
    ASSERT_TRUE(none.ok());
    EXPECT_TRUE(none->empty());
}

TEST(UserTools, CommandIds) {
    for (int i = 0; i < 9; ++i) EXPECT_EQ(UserTools::toolIndex(UserTools::commandId(i)), i);
    EXPECT_EQ(UserTools::toolIndex(UserTools::commandId(0) - 1), std::nullopt);
    EXPECT_EQ(UserTools::toolIndex(UserTools::commandId(8) + 1), std::nullopt);
}

TEST(UserTools, MacrosOfTheProject) {
    ToolMacros m = toolMacros(demoProject("/work/demo"));
    EXPECT_EQ(m.projectName, "Demo");
    EXPECT_EQ(m.projectPath, "/work/demo/");
    EXPECT_EQ(m.buildPath, "/work/demo/PalmOS Debug/");
    EXPECT_EQ(m.sourceName, "Main");
    EXPECT_EQ(m.sourcePath, "/work/demo/src/");
    EXPECT_EQ(macroDefinitions(m).front(), "$(ProjectName)=Demo");
    EXPECT_EQ(macroDefinitions(m).size(), 5u);

    ToolMacros none = toolMacros(ProjectModel{});
    EXPECT_EQ(none.projectPath, "");
    EXPECT_EQ(none.buildPath, "");

    struct Row {
        const char* text;
        const char* expanded;
    };
    const Row rows[] = {
        {"$(ProjectName).prc", "Demo.prc"},
        {"$(BuildPath)$(ProjectName)", "/work/demo/PalmOS Debug/Demo"},
        {"\"$(SourcePath)$(SourceName).vsl\"", "\"/work/demo/src/Main.vsl\""},
        {"$(projectpath)", "/work/demo/"},
        {"$(Unknown) $(ProjectName", "$(Unknown) $(ProjectName"},
        {"$$(ProjectName))", "$Demo)"},
        {"", ""},
    };
    for (const Row& r : rows) EXPECT_EQ(expandMacros(r.text, m), r.expanded) << r.text;
    ToolMacros odd = m;
    odd.projectName = "$(SourceName)";  // values are not expanded again
    EXPECT_EQ(expandMacros("$(ProjectName)", odd), "$(SourceName)");
}

TEST(UserTools, RunStartsInTheFolderWithoutWaiting) {
    TempDir tmp;
    fsys::createFolders(tmp.file("src"));
    fsys::createFolders(tmp.file("elsewhere"));
    ToolMacros m = toolMacros(demoProject(tmp.path()));
    RecordingUi ui;
    std::vector<Process> started;

    UserTool inProject{"Where", "/bin/sh", "-c \"pwd > where.txt; echo $(ProjectName) >> where.txt\"", ""};
    ASSERT_TRUE(runTool(inProject, m, ui, &started));
    UserTool inFolder{"Where", "/bin/sh", "-c \"pwd > where.txt\"", "$(ProjectPath)elsewhere"};
    ASSERT_TRUE(runTool(inFolder, m, ui, &started));
    ASSERT_EQ(started.size(), 2u);
    for (auto& p : started) EXPECT_EQ(p.wait(), 0);
    EXPECT_EQ(test::readBytes(tmp.file("where.txt")), tmp.path() + "\nDemo\n");
    EXPECT_EQ(test::readBytes(tmp.file("elsewhere/where.txt")), tmp.file("elsewhere") + "\n");
    reapEndedTools(started);
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(ui.messages.empty());

    const UserTool failing[] = {
        {"Missing", tmp.file("no-such-tool"), "", ""},
        {"Bad folder", "/bin/sh", "-c true", tmp.file("no-such-folder")},
        {"Empty", "$(Unset)", "", ""},
    };
    ToolMacros empty;
    for (const UserTool& t : failing) {
        ui.clear();
        EXPECT_FALSE(runTool(t, t.menuText == std::string("Empty") ? empty : m, ui)) << t.menuText;
        ASSERT_EQ(ui.messages.size(), 1u) << t.menuText;
        EXPECT_EQ(ui.messages[0].text, "Could not execute tool");
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
    }
}

TEST(UserTools, MacroValuesStayWithinTheirArgument) {
    TempDir tmp;
    const std::string script = tmp.file("args.sh");
    test::writeBytes(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n");
    ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
    ToolMacros m;
    m.projectName = R"(My "Demo" -x)";
    m.projectPath = tmp.path() + "/";
    RecordingUi ui;
    std::vector<Process> started;
    ASSERT_TRUE(runTool({"Args", script, "$(ProjectName) \"$(ProjectPath)one two\" last", ""}, m, ui, &started));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].wait(), 0);
    EXPECT_EQ(test::readBytes(tmp.file("args.txt")), m.projectName + "\n" + tmp.path() + "/one two\nlast\n");
}
