#include "expr/FunctionTable.h"
#include "expr/ObjectTypeTable.h"
#include "expr/PropertyTable.h"

#include <gtest/gtest.h>

#include <string>

namespace varn {
namespace {

TEST(ExprTables, FunctionLookup) {
    ASSERT_EQ(functionTable().size(), 73u);
    EXPECT_EQ(findFunction("numeric"), 57);
    EXPECT_EQ(findFunction("value"), 57);
    EXPECT_EQ(findFunction("abs"), 1);
    EXPECT_EQ(findFunction("atanh"), 8);
    EXPECT_EQ(findFunction("null_object"), 72);
    EXPECT_EQ(findFunction("avg"), -1);
    EXPECT_EQ(findFunction("Upper"), -1);  // identifiers arrive in lower case
}

TEST(ExprTables, PropertyLookup) {
    ASSERT_EQ(propertyTable().size(), 34u);
    EXPECT_EQ(findProperty("width"), 0);
    EXPECT_EQ(findProperty("select_enable"), 33);
    EXPECT_EQ(findProperty("colour"), -1);
}

TEST(ExprTables, ObjectTypesInOrder) {
    const std::pair<int, const char*> order[] = {{6, "button"},  {29, "menu_item"}, {69, "menu_top"}, {9, "label"},
                                                 {4, "text"},    {23, "file"},      {63, "dbfile"},   {30, "frame"},
                                                 {49, "filesel"}, {61, "selector"}, {103, "grid"},    {110, "menu_bar"},
                                                 {111, "drop_down"}};
    const std::size_t propertyCounts[] = {16, 2, 2, 13, 17, 4, 6, 8, 14, 15, 14, 1, 19};
    auto table = objectTypeTable();
    ASSERT_EQ(table.size(), 13u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].code, order[i].first);
        EXPECT_EQ(table[i].name, order[i].second);
        EXPECT_EQ(table[i].properties.size(), propertyCounts[i]) << table[i].name;
        for (std::string_view p : table[i].properties) EXPECT_GE(findProperty(p), 0) << table[i].name << "." << p;
    }
    EXPECT_EQ(table[0].properties.front(), "width");
    EXPECT_EQ(table[12].properties.back(), "cursor");
    EXPECT_EQ(findObjectType(103)->name, "grid");
    EXPECT_EQ(findObjectType(5), nullptr);
    EXPECT_TRUE(objectTypeHasProperty(*findObjectType(30), "menu_bar"));
    EXPECT_FALSE(objectTypeHasProperty(*findObjectType(6), "selected"));
}

}  // namespace
}  // namespace varn
