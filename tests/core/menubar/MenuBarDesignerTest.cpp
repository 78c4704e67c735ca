// The "MenuBars" dialog without its window: fields by level, leaving a node,
// default names for new objects, deletion, reordering, the invoker look-up,
// and OK putting the edited menu bars into the project and its file.
#include <gtest/gtest.h>

#include <optional>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "form/FormText.h"
#include "menubar/MenuBarDesigner.h"
#include "menubar/MenuBarFile.h"
#include "platform/FileSystem.h"
#include "project/ProjectModel.h"

using namespace varn;
using varn::test::readBytes;
using varn::test::TempDir;
using varn::test::writeBytes;
using Strings = std::vector<std::string>;

namespace {

MenuBarList sample() {
    CMenuTop file{false, "File", "File", {CMenuItem{false, "Open", "doOpen", "mnuOpen"}}};
    // "btnOK" came later to a form as well.
    CMenuTop help{false, "Help", "Help", {CMenuItem{false, "OK", "", "btnOK"}}};
    return {CMenuBar{"Main", {file, help}}, CMenuBar{"Spare", {}}};
}

// A designer on the sample whose project has a form "Form1" with the controls
// "btnOK" and "lblTitle", and a frame "frmMain" that shows the bar "Main".
struct Designer {
    RecordingUi ui;
    Strings searched;
    MenuDesignerHooks hooks{[](const std::string& name, bool) -> std::optional<std::string> {
                                if (equalsNoCase(name, "btnOK") || equalsNoCase(name, "lblTitle"))
                                    return std::string("Form1");
                                return std::nullopt;
                            },
                            [](const std::string& bar) -> std::optional<std::string> {
                                if (equalsNoCase(bar, "Main")) return std::string("frmMain");
                                return std::nullopt;
                            },
                            [this](const std::string& name) {
                                searched.push_back(name);
                                return true;
                            },
                            {}};
    MenuBarDesigner d;
    explicit Designer(const MenuBarList& bars = sample()) : d(bars, ui, hooks) { MenuNameCounters::reset(); }
};

const MenuNode kMain{0}, kFile{0, 0}, kOpen{0, 0, 0}, kHelp{0, 1}, kSpare{1};

}  // namespace

TEST(MenuBarDesigner, FieldsByLevel) {
    EXPECT_EQ(MenuBarDesigner::fieldStates(MenuLevel::Bar).expression, false);
    EXPECT_EQ(MenuBarDesigner::fieldStates(MenuLevel::Bar).display, false);
    EXPECT_EQ(MenuBarDesigner::fieldStates(MenuLevel::Top).display, true);
    EXPECT_EQ(MenuBarDesigner::fieldStates(MenuLevel::Top).invokes, false);
    EXPECT_EQ(MenuBarDesigner::fieldStates(MenuLevel::Item).invokes, true);
    Designer t;
    EXPECT_EQ(t.d.fields(kMain), (MenuFields{false, "", "Main", ""}));
    EXPECT_EQ(t.d.fields(kFile), (MenuFields{false, "File", "File", ""}));
    EXPECT_EQ(t.d.fields(kOpen), (MenuFields{false, "Open", "mnuOpen", "doOpen"}));
}

// ------------------------------------------------------------ leaving a node

struct LeaveCase {
    const char* title;
    MenuNode node;
    MenuFields typed;
    const char* message;  // nullptr: accepted and stored
};

void PrintTo(const LeaveCase& c, std::ostream* os) { *os << c.title; }

class MenuBarLeave : public ::testing::TestWithParam<LeaveCase> {};

TEST_P(MenuBarLeave, RefusedWithItsMessageOrStored) {
    const LeaveCase& c = GetParam();
    Designer t;
    const MenuFields before = t.d.fields(c.node);
    EXPECT_EQ(t.d.leave(c.node, c.typed), c.message == nullptr);
    if (c.message) {
        EXPECT_EQ(t.ui.texts(), Strings{c.message});
        EXPECT_EQ(t.d.fields(c.node), before);
    } else {
        EXPECT_TRUE(t.ui.messages.empty()) << t.ui.lastText();
        EXPECT_EQ(t.d.fields(c.node), c.typed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Nodes, MenuBarLeave,
    ::testing::Values(
        LeaveCase{
            "BadExpressionOnATop", kFile, {true, "1 +", "File", ""}, "The display property expression is invalid."},
        LeaveCase{"GoodExpressionOnAnItem", kOpen, {true, "\"Op\" + \"en\"", "mnuOpen", "doOpen"}, nullptr},
        LeaveCase{
            "EmptyNameAfterTheExpression", kOpen, {true, "1 +", "", ""}, "The display property expression is invalid."},
        LeaveCase{"EmptyName", kHelp, {false, "Help", "", ""}, "The name can not be empty."},
        LeaveCase{"ClashWithABar", kOpen, {false, "Open", "SPARE", ""}, "The name is already used by MenuBar Spare."},
        LeaveCase{"ClashWithATop",
                  kSpare,
                  {false, "", "help", ""},
                  "The name is already used by MenuTop Help on MenuBar Main."},
        LeaveCase{"ClashWithAnItem",
                  kHelp,
                  {false, "Help", "MNUOPEN", ""},
                  "The name is already used by MenuItem mnuOpen on MenuBar Main MenuTop File."},
        LeaveCase{"TopNamedAsAControlNamesTheForm",
                  kHelp,
                  {false, "Help", "lbltitle", ""},
                  "The name is already used by an object on form Form1."},
        LeaveCase{"OwnNameInOtherCase", kMain, {false, "", "MAIN", ""}, nullptr},
        LeaveCase{"UnchangedNameIsNotLookedFor", MenuNode{0, 1, 0}, {false, "Okay", "btnOK", ""}, nullptr},
        LeaveCase{"RenamedAndRetold", kFile, {false, "&File", "mnuFile", ""}, nullptr}),
    [](const auto& info) { return std::string(info.param.title); });

// ------------------------------------------------------------------- New

TEST(MenuBarDesigner, NewNamesSkipNamesInUseAndCountPerKindForTheProcess) {
    CMenuTop top{false, "menutop0", "", {CMenuItem{false, "", "", "menuitem1"}}};
    Designer t({CMenuBar{"menubar0", {top}}});
    const MenuNode bar = t.d.addNew(MenuNode{});
    EXPECT_EQ(t.d.nameOf(bar), "menubar1");
    EXPECT_EQ(t.d.nameOf(t.d.addNew(bar)), "menutop1");
    const MenuNode item = t.d.addNew(MenuNode{0, 0});
    EXPECT_EQ(item, (MenuNode{0, 0, 1}));
    EXPECT_EQ(t.d.nameOf(item), "menuitem0");
    // Beside an item: another item of its top, the counter past the used name.
    EXPECT_EQ(t.d.nameOf(t.d.addNew(item)), "menuitem2");
    EXPECT_EQ(t.d.fields(item), (MenuFields{false, "", "menuitem0", ""}));
    // A second dialog of the same run goes on counting.
    RecordingUi ui;
    MenuBarDesigner again({}, ui);
    EXPECT_EQ(again.nameOf(again.addNew(MenuNode{})), "menubar2");
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST(MenuBarDesigner, NewNameSkipsAFormObjectQuietly) {
    Designer t(MenuBarList{});
    t.hooks.formOfObject = [](const std::string& name, bool quiet) -> std::optional<std::string> {
        EXPECT_TRUE(quiet);
        if (name == "menubar0") return std::string("Form1");
        return std::nullopt;
    };
    MenuBarDesigner d({}, t.ui, t.hooks);
    EXPECT_EQ(d.nameOf(d.addNew(MenuNode{})), "menubar1");
}

// ---------------------------------------------------------------- Delete

TEST(MenuBarDesigner, BarShownByAFrameIsKeptTopsAndItemsAlwaysGo) {
    Designer t;
    EXPECT_FALSE(t.d.remove(kMain));
    EXPECT_EQ(t.ui.texts(), Strings{"Can not delete MenuBar Main because it is being used by frame frmMain."});
    EXPECT_TRUE(t.d.remove(kOpen));
    EXPECT_TRUE(t.d.remove(kFile));
    EXPECT_EQ(t.d.nameOf(kFile), "Help");
    EXPECT_TRUE(t.d.remove(kSpare));
    EXPECT_EQ(t.d.bars().size(), 1u);
    EXPECT_EQ(t.ui.messages.size(), 1u);
}

TEST(MenuBarDesigner, MovesWithinTheParent) {
    Designer t;
    EXPECT_EQ(t.d.move(kHelp, 0), kFile);
    EXPECT_EQ(t.d.nameOf(kFile), "Help");
    EXPECT_EQ(t.d.nameOf(MenuNode{0, 1, 0}), "mnuOpen");
    EXPECT_EQ(t.d.move(kMain, 9), kSpare);
    EXPECT_EQ(t.d.nameOf(kMain), "Spare");
}

// ---------------------------------------------------------------- Invokes

TEST(MenuBarDesigner, InvokesBrowseSearchesTheInvokerOrTheName) {
    Designer t;
    EXPECT_TRUE(t.d.browseInvokes({false, "", "mnuOpen", "  doOpen "}));
    EXPECT_TRUE(t.d.browseInvokes({false, "", "mnuOpen", "  "}));
    EXPECT_EQ(t.searched, (Strings{"doOpen", "mnuOpen"}));
    EXPECT_FALSE(t.d.browseInvokes({false, "", "", " "}));
    EXPECT_EQ(t.ui.texts(), Strings{"Please enter an invoker function name."});
    EXPECT_EQ(t.ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(t.searched.size(), 2u);
}

// -------------------------------------------------------------------- OK

class MenuBarApply : public ::testing::Test {
protected:
    TempDir dir;
    ProjectModel project;
    RecordingUi ui;
    std::string file = dir.file("Demo_MenuBar.ini");
    void SetUp() override {
        project.projectPath = dir.file("Demo.vpj");
        project.menuBars = {CMenuBar{"old", {}}};
        project.tree.addMenuBar("old");
        project.tree.addFormFile(dir.file("A.vff"));
    }
};

TEST_F(MenuBarApply, ProjectTakesTheBarsInOrderAndTheFileIsWritten) {
    EXPECT_EQ(applyMenuBars(project, sample(), ui, 0), MenuBarsApplied::Written);
    EXPECT_EQ(project.tree.menuBars(), (Strings{"Main", "Spare"}));
    EXPECT_EQ(project.tree.categories().front().label, ProjectTree::kMenuBars);
    EXPECT_EQ(readMenuBarFile(readBytes(file)).bars.size(), 2u);
    EXPECT_EQ(project.menuBars[0].tops[0].items[0].invokes, "doOpen");
    // None left: the category goes, the file keeps the empty passes.
    EXPECT_EQ(applyMenuBars(project, {}, ui, 0), MenuBarsApplied::Written);
    EXPECT_EQ(project.tree.category(ProjectTree::kMenuBars), nullptr);
    EXPECT_TRUE(readMenuBarFile(readBytes(file)).bars.empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MenuBarApply, ReadOnlyFileChangesNothing) {
    writeBytes(file, "kept");
    ASSERT_TRUE(fsys::setReadOnly(file, true));
    EXPECT_TRUE(menuBarFileReadOnly(project));
    EXPECT_EQ(applyMenuBars(project, sample(), ui, 0), MenuBarsApplied::ReadOnly);
    EXPECT_EQ(readBytes(file), "kept");
    EXPECT_EQ(project.tree.menuBars(), Strings{"old"});
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MenuBarApply, UnreadFileIsReplacedOnlyWhenTheUserAgrees) {
    writeBytes(file, "COMPILE_IF IDE__PASS=2;\r\nmenu_bar broken\r\n");
    project.menuBarFileUnread = true;
    ui.answers.push_back(Answer::No);
    EXPECT_EQ(applyMenuBars(project, sample(), ui, 0), MenuBarsApplied::Declined);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].defaultAnswer, Answer::No);
    EXPECT_EQ(project.menuBars.size(), 1u);
    EXPECT_EQ(readBytes(file), "COMPILE_IF IDE__PASS=2;\r\nmenu_bar broken\r\n");

    ui.answers.push_back(Answer::Yes);
    EXPECT_EQ(applyMenuBars(project, sample(), ui, 0), MenuBarsApplied::Written);
    EXPECT_FALSE(project.menuBarFileUnread);
    EXPECT_EQ(readMenuBarFile(readBytes(file)).bars.size(), 2u);
}

TEST(MenuBarDesigner, ShownTextIsTheDisplayItsValueOrTheName) {
    EXPECT_EQ(menuShownText({false, "Open", "mnuOpen", ""}), "Open");
    EXPECT_EQ(menuShownText({true, "\"Op\" + \"en\"", "mnuOpen", ""}), "Open");
    EXPECT_EQ(menuShownText({true, "2*3", "mnuOpen", ""}), "6");
    EXPECT_EQ(menuShownText({false, "  ", "mnuOpen", ""}), "mnuOpen");
}
