// The name check and its messages, and the project's menu bar file on disk:
// load with the project, save on request, and Remove Project Item.
#include <gtest/gtest.h>

#include <optional>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "menubar/MenuBarFile.h"
#include "menubar/ProjectMenuBars.h"
#include "platform/FileSystem.h"
#include "project/ProjectTree.h"

using namespace varn;
using varn::test::readBytes;
using varn::test::TempDir;
using varn::test::writeBytes;
using Strings = std::vector<std::string>;

namespace {

MenuBarList twoBars() {
    CMenuTop file{false, "File", "File", {CMenuItem{false, "Open", "doOpen", "mnuOpen"}}};
    CMenuTop help{false, "Help", "Help", {CMenuItem{false, "About", "", "mnuAbout"}, CMenuItem{false, "", "", "dup"}}};
    CMenuTop dup{false, "dup", "", {}};
    return {CMenuBar{"Main", {file, help, dup}}, CMenuBar{"Tools", {}}};
}

Strings names(const MenuBarList& bars) {
    Strings out;
    for (const auto& b : bars) out.push_back(b.name);
    return out;
}

}  // namespace

// --------------------------------------------------------------- name check

struct NameCase {
    const char* name;
    const char* prefix;
    const char* message;  // nullptr: the name is free
};

class MenuBarNameCheck : public ::testing::TestWithParam<NameCase> {};

TEST_P(MenuBarNameCheck, FirstUseShownWithItsPrefix) {
    const NameCase& c = GetParam();
    RecordingUi ui;
    MenuBarList bars = twoBars();
    bool used = menuBarsNameUsed(bars, c.name, c.prefix, ui);
    EXPECT_EQ(used, c.message != nullptr);
    if (!c.message) {
        EXPECT_TRUE(ui.messages.empty());
        return;
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, c.message);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
}

INSTANTIATE_TEST_SUITE_P(
    Names, MenuBarNameCheck,
    ::testing::Values(NameCase{"main", "", "The name is already used by menubar Main"},
                      NameCase{"TOOLS", "", "The name is already used by menubar Tools"},
                      NameCase{"help", "", "The name is already used by menutop Help on menubar Main"},
                      NameCase{"MnuAbout", "", "The name is already used by menuitem mnuAbout on menutop Help on menubar Main"},
                      // Each top is followed by its own items before the next top.
                      NameCase{"dup", "", "The name is already used by menuitem dup on menutop Help on menubar Main"},
                      NameCase{"mnuOpen", "Name is used on form Form1",
                               "Name is used on form Form1\r\n\nThe name is already used by menuitem mnuOpen on menutop "
                               "File on menubar Main"},
                      NameCase{"Open", "", nullptr}, NameCase{"mnu", "", nullptr}, NameCase{"", "", nullptr}));

TEST(MenuBarNameCheck, ObjectBeingRenamedIsLeftOut) {
    MenuBarList bars = twoBars();
    const CMenuTop& file = bars[0].tops[0];
    EXPECT_FALSE(findMenuName(bars[0], "file", &file));
    auto use = findMenuName(bars[0], "file");
    ASSERT_TRUE(use);
    EXPECT_EQ(use->top, &file);
}

// ------------------------------------------------------------------ on disk

class ProjectMenuBarsDisk : public ::testing::Test {
protected:
    TempDir dir;
    std::string project = dir.file("Demo.vpj");
    std::string file = dir.file("Demo_MenuBar.ini");
    RecordingUi ui;
    ProjectTree tree;
    MenuBarList bars;

    // Loads the file into a fresh list and tree.
    void reload() {
        bars.clear();
        tree.clear();
        loadMenuBars(bars, tree, file, ui);
    }
    int itemOf(const std::string& name) {
        for (const PROJECT_ITEM* r : tree.itemsOfKind(ItemKind::MenuBar))
            if (r->path == name) return r->item;
        return 0;
    }
};

TEST_F(ProjectMenuBarsDisk, FileNamedAfterTheProject) { EXPECT_EQ(menuBarFilePath(project), file); }

TEST_F(ProjectMenuBarsDisk, MissingFileLoadsNothingAndIsNoError) {
    EXPECT_TRUE(loadMenuBars(bars, tree, file, ui));
    EXPECT_TRUE(bars.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(tree.category(ProjectTree::kMenuBars), nullptr);
}

TEST_F(ProjectMenuBarsDisk, SavedBarsComeBackLowerCasedInTheTree) {
    ASSERT_TRUE(saveMenuBars(twoBars(), file, ui));
    reload();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(names(bars), (Strings{"main", "tools"}));
    EXPECT_EQ(tree.menuBars(), (Strings{"main", "tools"}));
    ASSERT_EQ(bars[0].tops.size(), 3u);
    EXPECT_EQ(bars[0].tops[0].items[0].invokes, "doOpen");
}

TEST_F(ProjectMenuBarsDisk, MalformedFileKeepsEarlierBarsAndNamesThePath) {
    writeBytes(file, "COMPILE_IF IDE__PASS=2;\r\nmenu_bar a;\r\nend;\r\nmenu_bar b;\r\nmenu_top t,b;\r\n");
    EXPECT_FALSE(loadMenuBars(bars, tree, file, ui));
    EXPECT_EQ(names(bars), (Strings{"a"}));
    EXPECT_EQ(tree.menuBars(), (Strings{"a"}));
    EXPECT_EQ(ui.texts(), (Strings{"Error loading MenuBar file " + file}));
}

TEST_F(ProjectMenuBarsDisk, ReadOnlyFileIsNotSaved) {
    writeBytes(file, "old");
    ASSERT_TRUE(fsys::setReadOnly(file, true));
    EXPECT_FALSE(saveMenuBars(twoBars(), file, ui));
    EXPECT_EQ(ui.texts(), (Strings{"The file can not be saved because it is marked read-only"}));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(readBytes(file), "old");
}

// Remove Project Item on a menu bar, with the form walk stood in for.
TEST_F(ProjectMenuBarsDisk, BarUsedByAFrameIsKept) {
    ASSERT_TRUE(saveMenuBars(twoBars(), file, ui));
    reload();
    std::string before = readBytes(file);
    Strings asked;
    auto finder = [&](const std::string& name) -> std::optional<std::string> {
        asked.push_back(name);
        return std::string("Form1");
    };
    EXPECT_FALSE(removeMenuBar(bars, tree, itemOf("main"), project, finder, ui));
    EXPECT_EQ(asked, (Strings{"main"}));
    EXPECT_EQ(ui.texts(), (Strings{"Can not delete MenuBar main because it is being used by frame Form1."}));
    EXPECT_EQ(names(bars), (Strings{"main", "tools"}));
    EXPECT_EQ(tree.menuBars(), (Strings{"main", "tools"}));
    EXPECT_EQ(readBytes(file), before);
}

TEST_F(ProjectMenuBarsDisk, RemovingBarsRewritesTheFileAndTheLastDeletesItAndTheCategory) {
    ASSERT_TRUE(saveMenuBars(twoBars(), file, ui));
    reload();
    auto nobody = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
    EXPECT_TRUE(removeMenuBar(bars, tree, itemOf("main"), project, nobody, ui));
    EXPECT_EQ(tree.menuBars(), (Strings{"tools"}));
    reload();
    EXPECT_EQ(names(bars), (Strings{"tools"}));
    EXPECT_TRUE(removeMenuBar(bars, tree, itemOf("tools"), project, nobody, ui));
    EXPECT_TRUE(bars.empty());
    EXPECT_FALSE(fsys::exists(file));
    EXPECT_EQ(tree.category(ProjectTree::kMenuBars), nullptr);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProjectMenuBarsDisk, LastBarOfAReadOnlyFileLeavesTheFile) {
    ASSERT_TRUE(saveMenuBars({CMenuBar{"Only", {}}}, file, ui));
    reload();
    std::string before = readBytes(file);
    ASSERT_TRUE(fsys::setReadOnly(file, true));
    EXPECT_TRUE(removeMenuBar(bars, tree, itemOf("only"), project, {}, ui));
    EXPECT_TRUE(bars.empty());
    EXPECT_EQ(ui.texts(), (Strings{"The file can not be saved because it is marked read-only"}));
    EXPECT_EQ(readBytes(file), before);
}
