#include "expr/FunctionTable.h"
#include "expr/ObjectTypeTable.h"
#include "expr/PropertyTable.h"

#include <gtest/gtest.h>

#include <string>

namespace varn {
namespace {

TEST(ExprTables, LookupsAndConsistency) {
    EXPECT_EQ(findFunction("numeric"), findFunction("value"));  // one function, two names
    EXPECT_EQ(findFunction("avg"), -1);
    EXPECT_EQ(findFunction("Upper"), -1);  // identifiers arrive in lower case
    EXPECT_EQ(findProperty("colour"), -1);
    // Every property an object type lists is a known property.
    for (const auto& type : objectTypeTable()) {
        EXPECT_EQ(findObjectType(type.code), &type);
        for (std::string_view p : type.properties) EXPECT_GE(findProperty(p), 0) << type.name << "." << p;
    }
    EXPECT_EQ(findObjectType(5), nullptr);
    EXPECT_TRUE(objectTypeHasProperty(*findObjectType(30), "menu_bar"));
    EXPECT_FALSE(objectTypeHasProperty(*findObjectType(6), "selected"));
}

}  // namespace
}  // namespace varn
