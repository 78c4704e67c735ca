// Project files through the workspace manager: golden round trips, the
// reading rules (defaults, ranges, legacy names, escapes) and bad input.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "project/ProjectFile.h"
#include "project/VARNWorkspaceManager.h"

using namespace varn;
using varn::test::TempDir;

namespace {

struct Fixture {
    TempDir tmp;
    RecordingUi ui;
    SettingsStore settings = SettingsStore::open(tmp.file("settings.ini"));
    SymbolList symbols;
    VARNWorkspaceManager manager{ui, settings, symbols, tmp.path()};
    std::string projectFolder = tmp.file("proj");

    Fixture() {
        fsys::createFolders(projectFolder);
        test::writeBytes(tmp.file("VARNsyms.txt"), "abs;function;abs(n);Absolute value\r\n");
    }
    std::string place(const std::string& dataCase, const std::string& name = "Demo.vpj") {
        std::string path = projectFolder + "/" + name;
        test::writeBytes(path, test::readBytes(test::dataPath("project/" + dataCase + "/input.vpj")));
        return path;
    }
};

}  // namespace

class ProjectFileGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(ProjectFileGolden, OpenSaveMatchesExpected) {
    Fixture f;
    std::string path = f.place(GetParam());
    ASSERT_TRUE(f.manager.openWorkspace(path, false));
    EXPECT_TRUE(f.ui.messages.empty()) << f.ui.lastText();
    ASSERT_TRUE(f.manager.saveCurrentWorkspace());
    EXPECT_TRUE(test::matchesGolden(test::readBytes(path), std::string("project/") + GetParam() + "/expected.vpj"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ProjectFileGolden, ::testing::Values("full", "legacy", "absurd"));

// What the golden round trips cannot show: the paths as the model holds them
// (read and written against the same folder), and a legacy configuration name.
TEST(ProjectFile, PathsAndLegacyNamesAsHeld) {
    Fixture f;
    ASSERT_TRUE(f.manager.openWorkspace(f.place("full"), false));
    const ProjectModel& m = f.manager.project();
    EXPECT_EQ(m.tree.applicationPath(), f.projectFolder + "/Demo.vsl");
    EXPECT_EQ(m.tree.smallIconPath(), f.tmp.file("shared/small.vic"));
    EXPECT_EQ(m.tree.forms().at(1), f.projectFolder + "/forms/About.vff");
    EXPECT_EQ(m.tree.images().at(1), f.tmp.file("lib/arrow.vbm"));
    EXPECT_EQ(m.breakpoints.at(1).path, f.tmp.file("lib/util.vsl"));
    ASSERT_TRUE(f.manager.openWorkspace(f.place("legacy"), false));
    EXPECT_EQ(m.activeConfiguration, "PalmOS Release");
    EXPECT_TRUE(m.legacyConfigurationName);
    EXPECT_EQ(m.tree.largeIconPath(), f.projectFolder + "/old.vic");
}

TEST(ProjectFile, ProjectVarEscapes) {
    struct Case {
        const char* stored;
        const char* held;
    } cases[] = {
        {R"(string a = \"x\")", R"(string a = "x")"},
        {R"(string a = "x")", R"(string a = "x")"},
        {R"(\")", R"(")"},                 // the pair is also the last two characters
        {R"(a\"b\"c\"d)", R"(a"b\"c\")"},  // the last two characters, whatever they are
        {"numeric n = 1", "numeric n = 1"},
    };
    for (const auto& c : cases) EXPECT_EQ(ProjectFile::unescapeProjectVar(c.stored), c.held) << c.stored;
}

TEST(ProjectFile, RelativePathsAcrossFolders) {
    Fixture f;
    std::string path = f.place("legacy");
    ASSERT_TRUE(f.manager.openWorkspace(path, false));
    ProjectModel& m = f.manager.project();
    m.tree.addFormFile(f.projectFolder + "/Main.vff");
    m.tree.addFormFile(f.projectFolder + "/sub/deeper/Other.vff");
    m.tree.addImageFile(f.tmp.file("lib/x.vbm"));
    m.tree.addCFile("C:/elsewhere/native.c");
    ASSERT_TRUE(f.manager.saveCurrentWorkspace());
    std::string text = test::readBytes(path);
    EXPECT_NE(text.find("FormFile1=.\\Main.vff\r\n"), std::string::npos);
    EXPECT_NE(text.find("FormFile2=.\\sub\\deeper\\Other.vff\r\n"), std::string::npos);
    EXPECT_NE(text.find("ImageFile1=.\\..\\lib\\x.vbm\r\n"), std::string::npos);
    EXPECT_NE(text.find("CFile1=C:\\elsewhere\\native.c\r\n"), std::string::npos);
}

TEST(ProjectFile, NotAWorkspaceIsRefusedWithTheMessage) {
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"text", "hello world\r\n"},
        {"binary", std::string("\0\1\2[\xff\xfe", 6)},
        {"truncated", "[WorkState"},
        {"other root", "[Something]\r\nptn_Child1=ProjectSettings\r\n"},
    };
    for (const auto& c : cases) {
        Fixture f;
        std::string path = f.projectFolder + "/Bad.vpj";
        test::writeBytes(path, c.bytes);
        EXPECT_FALSE(f.manager.openWorkspace(path, false)) << c.name;
        EXPECT_EQ(f.ui.texts(), std::vector<std::string>{VARNWorkspaceManager::kInvalidWorkspace}) << c.name;
        EXPECT_EQ(test::readBytes(path), c.bytes) << c.name << ": the file must stay untouched";
        f.ui.clear();
        EXPECT_FALSE(f.manager.openWorkspace(path, true)) << c.name;
        EXPECT_TRUE(f.ui.messages.empty()) << c.name << ": quiet opens say nothing";
    }
}

TEST(ProjectFile, MissingSettingsKeepCurrentValuesAndMissingFolderIsRefused) {
    Fixture f;
    f.manager.project().settings.gridSpacing = 7;
    std::string path = f.projectFolder + "/Bare.vpj";
    test::writeBytes(path, "[WorkState_v1]\r\n");
    ASSERT_TRUE(f.manager.openWorkspace(path, true));
    EXPECT_EQ(f.manager.project().settings.gridSpacing, 7);
    EXPECT_FALSE(f.manager.openWorkspace(f.projectFolder, true));
}

TEST(ProjectFile, ReadOnlyProjectIsNotWritten) {
    Fixture f;
    std::string path = f.place("legacy");
    ASSERT_TRUE(f.manager.openWorkspace(path, true));
    std::string before = test::readBytes(path);
    ASSERT_TRUE(fsys::setReadOnly(path, true).ok());
    EXPECT_TRUE(f.manager.saveCurrentWorkspace());
    EXPECT_EQ(test::readBytes(path), before);
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(ProjectFile, RecentListAndSymbols) {
    Fixture f;
    std::string a = f.place("legacy", "A.vpj");
    std::string b = f.place("legacy", "B.vpj");
    test::writeBytes(f.projectFolder + "/symbols.txt", "startup\r\nmine;variable;numeric\r\n/n\r\nshutdown\r\n");
    ASSERT_TRUE(f.manager.openWorkspace(a, true));
    ASSERT_TRUE(f.manager.openWorkspace(b, true));
    EXPECT_EQ(f.manager.recentProjects(), (std::vector<std::string>{b, a}));
    ASSERT_EQ(f.symbols.symbols().size(), 2u);
    EXPECT_EQ(f.symbols.symbols()[0].name, "mine");
    EXPECT_EQ(f.symbols.symbols()[1].description, "Absolute value");
    fsys::removeFile(b);
    EXPECT_FALSE(f.manager.openWorkspace(b, true));
    EXPECT_EQ(f.manager.recentProjects(), (std::vector<std::string>{a}));
}
