// The project-wide name check over small projects of a few forms: the
// whole-project run with each of its messages, the single-name run used when a
// control is renamed or named, menu bar clashes, forms that cannot be read,
// and the search for the frame that shows a menu bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "form/CVARNfbDoc.h"
#include "form/FormKinds.h"
#include "form/FormText.h"
#include "menubar/ProjectMenuBars.h"
#include "project/DuplicateCheck.h"
#include "project/ProjectModel.h"

using namespace varn;
using varn::test::TempDir;
using Strings = std::vector<std::string>;

namespace {

FormEnvironment testEnv() {
    FormEnvironment env;
    env.pixelWidth = env.pixelHeight = 160;
    env.useSystemColours = false;
    return env;
}

// Adds the records of one control, written "kind:name[n](col,col)=list/size@bar":
// "[n]" an array of n elements, "(...)" a grid's Text columns (two rows each),
// "=L/5" a list variable and its declared size, "@M" a frame's menu bar.
void addControls(CVARNfbDoc& doc, const std::string& desc) {
    static const std::map<std::string, int> kinds = {
        {"text", kind::Text},         {"dropdown", kind::Dropdown}, {"label", kind::Label}, {"button", kind::Button},
        {"selector", kind::Selector}, {"grid", kind::Grid},         {"frame", kind::Frame}};
    static const std::regex pattern(R"((\w+):(\w+)(?:\[(\d+)\])?(?:\(([\w,]+)\))?(?:=(\w+)/(\d+))?(?:@(\w+))?)");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(desc, m, pattern)) << desc;
    CVARNFBControl proto(kinds.at(m[1]), testEnv());
    proto.name = m[2];
    proto.list = m[5];
    proto.listSize = m[6].matched ? std::stoi(m[6]) : 0;
    proto.menuBar = m[7];
    proto.displayRows = 2;
    const int elements = m[3].matched ? std::stoi(m[3]) : 0;
    for (int e = 0; e < std::max(elements, 1); ++e) {
        CVARNFBControl& c = doc.append(std::make_unique<CVARNFBControl>(proto));
        c.arrayCount = elements;
        c.arrayIndex = elements ? e : -1;
        std::stringstream columns(m[4]);
        for (std::string column; std::getline(columns, column, ',');) {
            CVARNFBControl cell(kind::Text, testEnv());
            cell.name = column;
            c.appendGridColumn(cell);
        }
    }
}

// A form of the project: its base name and its controls. A name starting
// with "-" is listed in the project but has no file.
struct FormDef {
    std::string name;
    Strings controls;
};

class FakeOpenForms : public OpenForms {
public:
    CVARNfbDoc* openForm(const std::string& path) override {
        asked.push_back(path);
        auto it = docs.find(lowerAscii(path));
        return it == docs.end() ? nullptr : it->second.get();
    }
    std::map<std::string, std::unique_ptr<CVARNfbDoc>> docs;  // by lower-cased path
    Strings asked;
};

// A project in a temporary folder: forms written to disk, some also open.
class TestProject {
public:
    TestProject() : check(model, ui, &open) {}

    std::string path(const std::string& form) const {
        return dir.file((form[0] == '-' ? form.substr(1) : form) + ".vff");
    }

    // Writes the form and lists it in the project; `keepOpen` also leaves
    // the document open, and then the form is returned.
    CVARNfbDoc* addForm(const FormDef& desc, bool keepOpen = false) {
        auto doc = std::make_unique<CVARNfbDoc>(testEnv());
        for (const std::string& c : desc.controls) addControls(*doc, c);
        const std::string file = path(desc.name);
        if (desc.name[0] != '-') {
            EXPECT_TRUE(doc->save(file).ok()) << file;
        }
        model.tree.addFormFile(file);
        if (!keepOpen) return nullptr;
        CVARNfbDoc* kept = doc.get();
        open.docs[lowerAscii(file)] = std::move(doc);
        return kept;
    }

    void addForms(const std::vector<FormDef>& forms) {
        for (const auto& f : forms) addForm(f);
    }

    // Menu bar "Main" with the top "File" and its item "mnuOpen".
    void addMenuBar() {
        CMenuTop file{false, "File", "File", {CMenuItem{false, "Open", "", "mnuOpen"}}};
        model.menuBars.push_back(CMenuBar{"Main", {file}});
    }

    // The message texts with the folder written as "{dir}".
    Strings texts() const {
        Strings out = ui.texts();
        for (std::string& t : out)
            for (std::size_t at; (at = t.find(dir.path())) != std::string::npos;)
                t.replace(at, dir.path().size(), "{dir}");
        return out;
    }

    TempDir dir;
    ProjectModel model;
    RecordingUi ui;
    FakeOpenForms open;
    DuplicateCheck check;
};

}  // namespace

// ------------------------------------------------------- whole-project mode

struct ProjectCase {
    const char* title;
    std::vector<FormDef> forms;
    Strings messages;  // all messages of the command, in order
};
void PrintTo(const ProjectCase& c, std::ostream* os) { *os << c.title; }

class DuplicateProjectCheck : public ::testing::TestWithParam<ProjectCase> {};

TEST_P(DuplicateProjectCheck, ReportsTheFirstClash) {
    const ProjectCase& c = GetParam();
    TestProject p;
    p.addMenuBar();
    p.addForms(c.forms);
    const bool nothingFound = c.messages.back() == kNoDuplicatesFound;
    EXPECT_EQ(p.check.checkProject(), !nothingFound);
    EXPECT_EQ(p.texts(), c.messages);
    for (const Message& m : p.ui.messages)
        EXPECT_EQ(m.icon, m.text == kNoDuplicatesFound ? MsgIcon::Information : MsgIcon::Error) << m.text;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Duplicate, DuplicateProjectCheck, ::testing::Values(
    ProjectCase{"NoForms", {}, {kNoDuplicatesFound}},
    ProjectCase{"DistinctNames", {{"A", {"frame:FormA", "text:txtName"}}, {"B", {"frame:FormB", "text:txtAge"}}},
                {kNoDuplicatesFound}},
    ProjectCase{"SameNameOnTwoForms", {{"A", {"button:btnOK"}}, {"B", {"button:btnOK"}}},
                {"Control name btnOK on form B is also used on form A."}},
    ProjectCase{"SameNameOnOneForm", {{"A", {"text:Total", "label:total"}}},
                {"Control name Total on form A is also used on form A."}},
    ProjectCase{"ArrayElementsShareTheirName", {{"A", {"button:Keys[3]", "text:Other"}}}, {kNoDuplicatesFound}},
    ProjectCase{"ArrayClashesOnceThroughElementZero", {{"A", {"button:Keys[3]"}}, {"B", {"button:keys[2]"}}},
                {"Control name Keys on form B is also used on form A."}},
    ProjectCase{"GridColumnMeetsEarlierControl", {{"A", {"text:Qty"}}, {"B", {"grid:Orders(Item,qty)"}}},
                {"Control name Qty on form B is also used on form A in grid Orders."}},
    ProjectCase{"ControlMeetsEarlierGridColumn", {{"A", {"grid:Orders(Item,Qty)"}}, {"B", {"text:qty"}}},
                {"Control name Qty on form B is also used on form A."}},
    // The grid's name and one of its columns are both registered: the entry
    // registered first decides the message.
    ProjectCase{"FirstRegisteredEntryWinsForColumn", {{"A", {"text:X", "text:Y"}}, {"B", {"grid:Y(X)"}}},
                {"Control name X on form B is also used on form A in grid Y."}},
    ProjectCase{"FirstRegisteredEntryWinsForName", {{"A", {"text:Y", "text:X"}}, {"B", {"grid:Y(X)"}}},
                {"Control name Y on form B is also used on form A."}},
    ProjectCase{"ListOnTwoForms", {{"A", {"selector:S1=Colours/5"}}, {"B", {"dropdown:D2=colours/3"}}},
                {"Selector D2 list property colours on form B is also defined by selector S1 on form A."}},
    ProjectCase{"ListWithDeclaredSizeZero",
                {{"A", {"selector:S1=Colours/5"}}, {"B", {"selector:S2=Colours/0", "dropdown:D3=Colours/0"}}},
                {kNoDuplicatesFound}},
    ProjectCase{"ListNotRegisteredWithSizeZero", {{"A", {"selector:S1=Colours/0"}}, {"B", {"selector:S2=Colours/4"}}},
                {kNoDuplicatesFound}},
    ProjectCase{"ClashBetweenSecondAndThirdForm",
                {{"A", {"text:a"}}, {"B", {"text:b", "selector:s=L/2"}}, {"C", {"text:c", "selector:s2=L/1"}}},
                {"Selector s2 list property L on form C is also defined by selector s on form B."}},
    ProjectCase{"NameClashBeforeListClash", {{"A", {"selector:S=L/2"}}, {"B", {"selector:S=L/2"}}},
                {"Control name S on form B is also used on form A."}},
    ProjectCase{"OnlyTheFirstClashIsShown", {{"A", {"text:x", "text:y"}}, {"B", {"text:X"}}, {"C", {"text:Y"}}},
                {"Control name x on form B is also used on form A."}},
    ProjectCase{"ControlNamedLikeMenuItem", {{"A", {"text:one"}}, {"B", {"button:MNUOPEN"}}},
                {"Name is used on form B\r\n\nThe name is already used by menuitem mnuOpen on menutop File on menubar Main"}},
    ProjectCase{"FrameNamedLikeMenuBar", {{"A", {"frame:main"}}},
                {"Name is used on form A\r\n\nThe name is already used by menubar Main"}},
    ProjectCase{"UnreadableFormIsSkipped", {{"A", {"text:x"}}, {"-Gone", {}}, {"C", {"text:X"}}},
                {"Could not open form {dir}/Gone.vff.", "Control name x on form C is also used on form A."}},
    ProjectCase{"UnreadableFormIsNoClash", {{"-Gone", {}}},
                {"Could not open form {dir}/Gone.vff.", kNoDuplicatesFound}}),
    [](const auto& info) { return std::string(info.param.title); });
// clang-format on

TEST(DuplicateProjectCheckRun, OpenFormIsCheckedWithItsUnsavedState) {
    TestProject p;
    p.addForm({"A", {"text:x"}});
    CVARNfbDoc* b = p.addForm({"B", {"text:y"}}, true);
    b->controls()[0]->name = "X";  // renamed, not saved
    EXPECT_TRUE(p.check.checkProject());
    EXPECT_EQ(p.texts(), Strings{"Control name x on form B is also used on form A."});
    EXPECT_EQ(p.open.asked, (Strings{p.path("A"), p.path("B")}));
}

// In the designer every element of an array carries the array's list; the
// list is still declared once.
TEST(DuplicateProjectCheckRun, ArrayInDesignerDeclaresItsListOnce) {
    TestProject p;
    CVARNfbDoc* a = p.addForm({"A", {"selector:Pick[3]=Items/2"}}, true);
    for (const auto& c : a->controls()) ASSERT_EQ(c->listSize, 2);
    EXPECT_FALSE(p.check.checkProject());
    EXPECT_EQ(p.texts(), Strings{kNoDuplicatesFound});
}

TEST(DuplicateProjectCheckRun, RunsAgainFromAnEmptyRegistry) {
    TestProject p;
    p.addForms({{"A", {"text:x"}}, {"B", {"text:y"}}});
    EXPECT_FALSE(p.check.checkDuplicates(nullptr, "", "", true));
    EXPECT_FALSE(p.check.checkDuplicates(nullptr, "", "", true));
    EXPECT_TRUE(p.ui.messages.empty());
}

TEST(DuplicateProjectCheckRun, QuietRunShowsOnlyTheMenuBarsOwnMessage) {
    TestProject p;
    p.addMenuBar();
    p.addForms({{"A", {"text:x"}}, {"B", {"text:File"}}});
    EXPECT_TRUE(p.check.checkDuplicates(nullptr, "", "", true));
    EXPECT_EQ(p.texts(),
              Strings{"Name is used on form B\r\n\nThe name is already used by menutop File on menubar Main"});
}

TEST(DuplicateProjectCheckRun, CorruptedFormKeepsWhatWasReadBeforeIt) {
    TestProject p;
    p.addForms({{"A", {"text:x"}}, {"B", {"text:x"}}});
    varn::test::writeBytes(p.path("B"), varn::test::readBytes(p.path("B")) + "stray line;\r\n");
    EXPECT_TRUE(p.check.checkProject());
    EXPECT_EQ(p.texts(), (Strings{"Corrupted form file", "Control name x on form B is also used on form A."}));

    p.ui.clear();
    EXPECT_TRUE(p.check.checkDuplicates(nullptr, "", "", true));
    EXPECT_TRUE(p.ui.messages.empty()) << "quiet runs do not show the reader's messages";
}

// --------------------------------------------------------- single-name mode

struct SingleCase {
    const char* title;
    Strings openForm;  // form "A", open; holds the control under test
    std::vector<FormDef> others;
    const char* under;    // name of the control under test in A
    int underIndex;       // its array index; -1 for a single control
    const char* name;     // candidate name
    const char* list;     // candidate list
    const char* message;  // nullptr: no clash
};
void PrintTo(const SingleCase& c, std::ostream* os) { *os << c.title; }

class DuplicateSingleName : public ::testing::TestWithParam<SingleCase> {};

TEST_P(DuplicateSingleName, FindsTheCandidateOnAnyForm) {
    const SingleCase& c = GetParam();
    TestProject p;
    p.addMenuBar();
    CVARNfbDoc* a = p.addForm({"A", c.openForm}, true);
    p.addForms(c.others);
    const CVARNFBControl* under = nullptr;
    for (const auto& r : a->controls())
        if (r->name == c.under && r->arrayIndex == c.underIndex) under = r.get();
    ASSERT_NE(under, nullptr);

    EXPECT_EQ(p.check.checkDuplicates(under, c.name, c.list, false), c.message != nullptr);
    EXPECT_EQ(p.texts(), c.message ? Strings{c.message} : Strings{});

    p.ui.clear();
    EXPECT_EQ(p.check.checkDuplicates(under, c.name, c.list, true), c.message != nullptr);
    EXPECT_TRUE(p.ui.messages.empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Duplicate, DuplicateSingleName, ::testing::Values(
    SingleCase{"FreeName", {"text:t1"}, {{"B", {"text:t2"}}}, "t1", -1, "t3", "", nullptr},
    SingleCase{"NameOnOtherForm", {"text:t1"}, {{"B", {"text:Total"}}}, "t1", -1, "total", "",
               "Control name total on this form is also used on form B."},
    SingleCase{"NameOnSameForm", {"text:t1", "label:Total"}, {}, "t1", -1, "Total", "",
               "Control name Total on this form is also used on form A."},
    SingleCase{"ControlUnderTestIsSkipped", {"text:t1"}, {{"B", {"text:t2"}}}, "t1", -1, "T1", "", nullptr},
    SingleCase{"OtherElementsOfItsArray", {"button:Keys[3]"}, {}, "Keys", 1, "keys", "", nullptr},
    SingleCase{"SingleControlOfTheArraysName", {"button:Keys[3]"}, {{"B", {"label:Keys"}}}, "Keys", 1, "Keys", "",
               "Control name Keys on this form is also used on form B."},
    SingleCase{"SameIndexOfAnotherArray", {"button:Keys[3]"}, {{"B", {"button:Keys[3]"}}}, "Keys", 0, "Keys", "",
               "Control name Keys on this form is also used on form B."},
    SingleCase{"GridColumnOnOtherForm", {"text:t1"}, {{"B", {"grid:Orders(Item,Qty)"}}}, "t1", -1, "qty", "",
               "Control name qty on this form is also used on form B in grid Orders."},
    SingleCase{"GridColumnOnSameForm", {"text:t1", "grid:G(Price)"}, {}, "t1", -1, "Price", "",
               "Control name Price on this form is also used on form A in grid G."},
    SingleCase{"ListOnOtherForm", {"selector:S1=Old/5"}, {{"B", {"dropdown:D2=Colours/3"}}}, "S1", -1, "S1", "colours",
               "Selector D2 list property Colours on form B is also defined by selector S1 on this form."},
    SingleCase{"ListOnlyWithoutName", {"selector:S1=Old/5"}, {{"B", {"dropdown:D2=Colours/3"}}}, "S1", -1, "", "Colours",
               "Selector D2 list property Colours on form B is also defined by selector S1 on this form."},
    SingleCase{"ListOfSizeZeroElsewhere", {"selector:S1=Old/5"}, {{"B", {"dropdown:D2=Colours/0"}}}, "S1", -1, "S1",
               "Colours", nullptr},
    SingleCase{"ListOfSizeZeroUnderTest", {"selector:S1=Old/0"}, {{"B", {"dropdown:D2=Colours/3"}}}, "S1", -1, "S1",
               "Colours", nullptr},
    SingleCase{"ListOfItsOwnArray", {"selector:Pick[2]=Items/4"}, {}, "Pick", 1, "", "Items", nullptr},
    SingleCase{"NameFoundBeforeList", {"selector:S1=Old/5"}, {{"B", {"selector:S9=Colours/3"}}}, "S1", -1, "s9",
               "Colours", "Control name s9 on this form is also used on form B."},
    SingleCase{"EmptyCandidates", {"text:t1"}, {{"B", {"text:t2"}}}, "t1", -1, "", "", nullptr}),
    [](const auto& info) { return std::string(info.param.title); });
// clang-format on

TEST(DuplicateSingleNameRun, MenuBarNameEndsTheCheckBeforeTheForms) {
    TestProject p;
    p.addMenuBar();
    CVARNfbDoc* a = p.addForm({"A", {"text:t1"}}, true);
    p.addForm({"-Gone", {}});
    EXPECT_TRUE(p.check.checkDuplicates(a->controls()[0].get(), "MAIN", "", true));
    EXPECT_EQ(p.texts(), Strings{"The name is already used by menubar Main"}) << "shown even when quiet";
    EXPECT_TRUE(p.open.asked.empty()) << "no form was walked";
}

TEST(DuplicateSingleNameRun, UnreadableFormReportedUnlessQuiet) {
    TestProject p;
    CVARNfbDoc* a = p.addForm({"A", {"text:t1"}}, true);
    p.addForms({{"-Gone", {}}, {"C", {"text:free"}}});
    const CVARNFBControl& t1 = *a->controls()[0];
    EXPECT_TRUE(p.check.checkDuplicates(&t1, "Free", "", false));
    EXPECT_EQ(p.texts(), (Strings{"Could not open form {dir}/Gone.vff.",
                                  "Control name Free on this form is also used on form C."}));
    p.ui.clear();
    EXPECT_FALSE(p.check.checkDuplicates(&t1, "other", "", true));
    EXPECT_TRUE(p.ui.messages.empty());
}

// A new control takes the first default name that no form of the project uses.
TEST(DuplicateSingleNameRun, NamesNewControlsAcrossTheProject) {
    TestProject p;
    p.addMenuBar();
    CVARNfbDoc* a = p.addForm({"A", {"frame:FormA", "text:Text1"}}, true);
    p.addForms({{"B", {"text:Text0", "grid:G(Text2)"}}, {"C", {"label:text3"}}});
    a->setNameInUse(p.check.nameInUseHook());
    ControlCounter::reset(0);
    CVARNFBControl& made = a->append(a->newRecord(kind::Text));
    a->giveWindow(made);
    EXPECT_EQ(made.name, "Text4");
    EXPECT_EQ(made.controlId, 4);
    EXPECT_TRUE(p.ui.messages.empty());
}

// ------------------------------------------------------------ menu bar user

struct UserCase {
    const char* title;
    std::vector<FormDef> forms;
    const char* menuBar;
    const char* user;  // nullptr: no frame uses it
};
void PrintTo(const UserCase& c, std::ostream* os) { *os << c.title; }

class DuplicateMenuBarUser : public ::testing::TestWithParam<UserCase> {};

TEST_P(DuplicateMenuBarUser, FindsTheFirstFrame) {
    const UserCase& c = GetParam();
    TestProject p;
    p.addForms(c.forms);
    std::optional<std::string> user = p.check.findMenuBarUser(c.menuBar);
    EXPECT_EQ(user, c.user ? std::optional<std::string>(c.user) : std::nullopt);
    EXPECT_TRUE(p.ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Duplicate, DuplicateMenuBarUser,
    ::testing::Values(
        UserCase{"NoForms", {}, "Main", nullptr}, UserCase{"Unused", {{"A", {"frame:FormA@Other"}}}, "Main", nullptr},
        UserCase{"WithoutCase", {{"A", {"frame:FormA"}}, {"B", {"frame:FormB@MAIN"}}}, "main", "FormB"},
        UserCase{"FirstInTreeOrder", {{"A", {"frame:FormA@Main"}}, {"B", {"frame:FormB@Main"}}}, "Main", "FormA"},
        UserCase{"OnlyFramesCount", {{"A", {"frame:FormA", "button:b@Main"}}}, "Main", nullptr}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(DuplicateMenuBarUserRun, UnreadableFormReportedAndSkipped) {
    TestProject p;
    p.addForms({{"-Gone", {}}, {"B", {"frame:FormB@Main"}}});
    EXPECT_EQ(p.check.findMenuBarUser("Main"), std::optional<std::string>("FormB"));
    EXPECT_EQ(p.texts(), Strings{"Could not open form {dir}/Gone.vff."});
}

// The menu bar designer's look-up of a name among the forms' objects.
TEST(DuplicateObjectForm, FirstFormWithTheControlOrColumn) {
    TestProject p;
    p.addForms({{"-Gone", {}}, {"A", {"button:btnOK", "grid:g(colA,colB)"}}, {"B", {"text:btnok", "label:only"}}});
    EXPECT_EQ(p.check.findObjectForm("BTNOK", true), std::optional<std::string>("A"));
    EXPECT_EQ(p.check.findObjectForm("colb", true), std::optional<std::string>("A"));
    EXPECT_EQ(p.check.findObjectForm("Only", true), std::optional<std::string>("B"));
    EXPECT_EQ(p.check.findObjectForm("nobody", true), std::nullopt);
    EXPECT_TRUE(p.ui.messages.empty());
    EXPECT_EQ(p.check.findObjectForm("nobody", false), std::nullopt);
    EXPECT_EQ(p.texts(), Strings{"Could not open form {dir}/Gone.vff."});
}
