// The name, subscript and property checks, run against small symbol tables
// (the IDE's own tables are empty).
#include "ExprTestSupport.h"

#include <gtest/gtest.h>

namespace varn::test {
namespace {

ExprSymbols sampleSymbols() {
    ExprSymbols s;
    s.locals = {{"num", 0, 0}, {"Loc", 1, 0}};
    s.globals = {{"num", 1, 0},    {"str", 1, 0},  {"arr", 2, 0},   {"lst", 3, 0},  {"mat", 7, 2},
                 {"obj", 5, 0},    {"objs", 6, 0}, {"objm", 10, 2}, {"upper", 0, 0}};
    s.objects = {{6, "Btn"}, {103, "grd"}, {4, "txt"}, {23, "fil"}, {999, "odd"}, {111, "dd"}, {6, "day"}};
    return s;
}

struct CheckCase {
    const char* text;
    const char* tree;  // with ":failed" when the root failed its check
    const char* error;  // the one diagnostic, or "" for none
};

TEST(ExprChecks, NamesSubscriptsAndProperties) {
    const CheckCase cases[] = {
        // names: locals first, variables before functions before objects
        {"num", "@0", ""},
        {"LOC", "@1", ""},
        {"upper", "@8", ""},
        {"btn", "@0", ""},
        {"day", "day()", ""},
        {"nothing", "@-1:failed", "nothing is unknown function/variable"},
        // array elements
        {"arr[1]", "@2[1]", ""},
        {"lst[1 + 1]", "@3[2]", ""},
        {"arr[1, 2]", "@2[1 2]:failed", "arr has incorrect array dimensions"},
        {"mat[1, 2]", "@4[1 2]", ""},
        {"mat[1]", "@4[1]:failed", "mat has incorrect array dimensions"},
        {"str[1]", "@1[1]:failed", "str is not an array "},
        {"nothing[1]", "@-1[1]:failed", "array name nothing does not exist"},
        {"grd[1, 2]", "@1[1 2]", ""},
        {"grd[1]", "@1[1]:failed", "grd is a GRID object, and subscripts must be in two dimensions"},
        {"btn[1, 2]", "@0[1 2]:failed", "Object subscripts must be one dimension"},
        {"btn[0]", "@0[0]", ""},
        // property references
        {"btn.width", "@0.0", ""},
        {"fil.open_name", "@3.15", ""},
        {"btn.list", "@0.7:failed", "list is a write-only property"},
        {"btn.colour", "@0.-1:failed", "colour is not a valid property"},
        {"btn.selected", "@0.5", "button object has no selected property."},
        {"odd.width", "@4.0", "Invalid object type on property property check"},
        {"grd.display", "@1.4", "grid object has no display property."},
        {"grd[1, 2].display", "@1[1 2].4", ""},
        {"btn[1].display", "@0[1].4", ""},
        {"nothing.width", "@-1.-1:failed", "nothing is not a defined object or variable"},
        {"str.width", "@-1.-1:failed", "str is is not an object variable"},
        {"obj.selected", "@5.5", ""},
        {"objs[1].width", "@6[1].0", ""},
        {"objm.font_name", "@7.20", ""},
    };
    ExprSymbols symbols = sampleSymbols();
    for (const CheckCase& c : cases) {
        std::vector<std::string> errors;
        EXPECT_EQ(treeOf(c.text, &errors, &symbols), c.tree) << c.text;
        std::vector<std::string> expected;
        if (*c.error) expected.push_back(c.error);
        EXPECT_EQ(errors, expected) << c.text;
    }
}

struct EvalCase {
    const char* text;
    int status;
    int type;
    const char* value;  // or the error message when status is not 0
};

TEST(ExprChecks, NamesEvaluateToNeutralValues) {
    const EvalCase cases[] = {
        {"num + 1", 0, ExprType::Number, "1"},
        {R"(str + "x")", 0, ExprType::String, "x"},
        {"btn", 0, ExprType::Object, ""},
        {"btn = btn", 0, ExprType::Number, "1"},
        {"btn <> txt", 0, ExprType::Number, "1"},
        {"btn.width", 0, ExprType::Number, "0"},
        {"btn.display", 0, ExprType::String, ""},
        {"btn.selected", 0, ExprType::Number, "0"},
        {"mat[1, 2] * 2", 0, ExprType::Number, "0"},
        {"grd[0, 1].width", 0, ExprType::Number, "0"},
        {"btn < btn", -1, 0, "Relative object compare not supported"},
        {"btn + 1", -1, 0, "Math operations not allow on OBJECTs"},
        {R"("a" + btn)", -1, 0, "Math operations not allow on OBJECTs"},
        {"-btn", -1, 0, "Math operations not allowed on OBJECTs"},
        {"+btn", -1, 0, "Math operations not allowed on OBJECTs"},
        {"btn and 1", -1, 0, "Boolean operations not allowed on OBJECTs"},
        {"not btn", -1, 0, "Boolean operations not allowed on OBJECTs"},
        {"btn = 1", -1, 0, "Datatype mismatch"},
        {R"(arr["x"])", -1, 0, "Invalid array subscript expression."},
        {"grd[-1, 0].width", -1, 0, "Invalid row index on GRID property reference."},
        {R"(grd[0, "a"].width)", -1, 0, "Invalid column index on GRID property reference."},
        {R"(objs["a"].width)", -1, 0, "Illegal index on array property reference."},
        {R"(objm["a", 1].width)", -1, 0, "Illegal index on multi-dimensional array property reference."},
        {"nothing + 1", -1, 0, "nothing is unknown function/variable"},
        {"nothing", -2, 0, "nothing is unknown function/variable"},
    };
    ExprSymbols symbols = sampleSymbols();
    for (const EvalCase& c : cases) {
        Outcome out = evaluateText(c.text, &symbols);
        EXPECT_EQ(out.status, c.status) << c.text;
        if (c.status == 0) {
            EXPECT_EQ(out.type, c.type) << c.text;
            EXPECT_EQ(out.value, c.value) << c.text;
            EXPECT_TRUE(out.errors.empty() || std::string(c.text) == "btn.selected") << c.text;
        } else {
            EXPECT_EQ(out.errors, std::vector<std::string>{c.value}) << c.text;
        }
    }
}

}  // namespace
}  // namespace varn::test
