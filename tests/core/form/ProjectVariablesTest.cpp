// The OK rule of the "Project Variables" dialog, with the real expression
// checker, and the Count/Size rules of the "Selection List" dialog.
#include <gtest/gtest.h>

#include "app/RecordingUi.h"
#include "form/ProjectVariables.h"
#include "form/SelectionList.h"

using namespace varn;
using Strings = std::vector<std::string>;

namespace {

std::string missingEquals(const std::string& line) {
    return "Missing equals sign for variable expression " + line +
           ".\r\rIt should look something like this:\rmy_str_var = \"a string\" or my_num_var = 123";
}

std::string syntaxError(const std::string& line) {
    return "Syntax error for variable expression " + line +
           ".\r\rIt should look something like this:\rmy_str_var = \"a string\" or my_num_var = 123";
}

}  // namespace

// -------------------------------------------------------- project variables

struct VarsCase {
    const char* what;
    Strings lines;
    Strings kept;      // the project's array afterwards
    Strings messages;  // error boxes, in order
};

class ProjectVariablesOk : public ::testing::TestWithParam<VarsCase> {};

TEST_P(ProjectVariablesOk, KeepsAcceptedLinesAndStopsAtTheFirstFault) {
    const VarsCase& c = GetParam();
    RecordingUi ui;
    Strings vars{"stale = 1"};
    bool closed = acceptProjectVariables(c.lines, vars, ui);
    EXPECT_EQ(vars, c.kept) << c.what;
    EXPECT_EQ(ui.texts(), c.messages) << c.what;
    EXPECT_EQ(closed, c.messages.empty()) << c.what;
    for (const Message& m : ui.messages) EXPECT_EQ(m.icon, MsgIcon::Error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ProjectVariablesOk,
    ::testing::Values(VarsCase{"nothing", {}, {}, {}},
                      VarsCase{"final semicolon dropped", {"count = 5;"}, {"count = 5"}, {}},
                      VarsCase{"trimmed before and after the semicolon", {"  \tx = 1 ;  "}, {"x = 1"}, {}},
                      // The checker stops at the first ";" of the value, so the second one stays.
                      VarsCase{"only one semicolon dropped", {"x = 1;;"}, {"x = 1;"}, {}},
                      VarsCase{"empty and blank lines skipped", {"", "   ", "a = 2", ""}, {"a = 2"}, {}},
                      VarsCase{"string value", {"greeting = \"hi\""}, {"greeting = \"hi\""}, {}},
                      VarsCase{"expression of constants", {"n = (1 + 2) * 3"}, {"n = (1 + 2) * 3"}, {}},
                      VarsCase{"no equals sign", {"greeting \"hi\""}, {}, {missingEquals("greeting \"hi\"")}},
                      VarsCase{"lone semicolon has no equals sign", {" ; "}, {}, {missingEquals("")}},
                      VarsCase{"unknown variable in the value", {"total = a + 1"}, {}, {syntaxError("total = a + 1")}},
                      VarsCase{"empty value", {"x ="}, {}, {syntaxError("x =")}},
                      VarsCase{"value up to the first equals sign", {"x = 1 = 1"}, {"x = 1 = 1"}, {}},
                      VarsCase{"lines before a fault are kept",
                               {"a = 1", "b = \"two\";", "c = )", "d = 4"},
                               {"a = 1", "b = \"two\""},
                               {syntaxError("c = )")}}),
    [](const ::testing::TestParamInfo<VarsCase>& info) {
        std::string n;
        for (const char* p = info.param.what; *p; ++p) n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return n;
    });

TEST(ProjectVariablesOk, ValueIsCheckedWithItsTerminator) {
    RecordingUi ui;
    Strings vars, checked;
    auto check = [&](const std::string& v) {
        checked.push_back(v);
        return true;
    };
    EXPECT_TRUE(acceptProjectVariables({"a =  x + 1 ;", "b=2"}, vars, ui, check));
    EXPECT_EQ(checked, (Strings{"x + 1;", "2;"}));
    EXPECT_EQ(vars, (Strings{"a =  x + 1", "b=2"}));
}

// ----------------------------------------------------------- selection list

TEST(SelectionList, AddingBeyondTheSizeRaisesItAndDeletingKeepsIt) {
    SelectionList list({"a", "b", "c"}, 3);
    EXPECT_TRUE(list.add("d"));
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.size(), 4);
    EXPECT_TRUE(list.remove(1));
    EXPECT_EQ(list.items(), (Strings{"a", "c", "d"}));
    EXPECT_EQ(list.size(), 4);
    EXPECT_FALSE(list.remove(3));
    EXPECT_FALSE(list.remove(-1));
    SelectionList roomy({"a"}, 10);
    EXPECT_TRUE(roomy.insert(0, "z"));
    EXPECT_EQ(roomy.items(), (Strings{"z", "a"}));
    EXPECT_EQ(roomy.size(), 10);
}

TEST(SelectionList, ShrinkingBelowTheCountAsksAndCutsFromTheEndOrCancels) {
    RecordingUi ui;
    SelectionList list({"a", "b", "c", "d"}, 5);
    ui.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_FALSE(list.setSize(2, ui));
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.size(), 5);
    EXPECT_TRUE(list.setSize(2, ui));
    EXPECT_EQ(list.items(), (Strings{"a", "b"}));
    EXPECT_EQ(list.size(), 2);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text,
              "Warning, setting the size smaller than the current count will remove entries from the end.");
    EXPECT_EQ(ui.messages[1].icon, MsgIcon::Warning);
    EXPECT_EQ(ui.messages[1].buttons, MsgButtons::OkCancel);
}

TEST(SelectionList, SizeAndCountStayWithinTheRange) {
    RecordingUi ui;
    SelectionList list({"a", "b"}, 5);
    EXPECT_TRUE(list.setSize(2, ui));  // not below the count: no question
    EXPECT_TRUE(list.setSize(65000, ui));
    EXPECT_FALSE(list.setSize(-1, ui));
    EXPECT_FALSE(list.setSize(65001, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(list.size(), 65000);
    SelectionList full(Strings(SelectionList::kMaxSize, "x"), 70000);
    EXPECT_EQ(full.size(), SelectionList::kMaxSize);
    EXPECT_FALSE(full.add("one too many"));
    EXPECT_EQ(full.count(), SelectionList::kMaxSize);
}

TEST(SelectionList, OkGivesTheRecordItsLinesAndSize) {
    SelectionList list({"a"}, 1);
    list.add("b");
    Strings items{"old"};
    int size = 9;
    list.apply(items, size);
    EXPECT_EQ(items, (Strings{"a", "b"}));
    EXPECT_EQ(size, 2);
    EXPECT_EQ(SelectionList::heading("Dropdown List"), "Dropdown List Contents:");
}
