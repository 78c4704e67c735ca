// The properties an object reference may name, with their data type and
// whether a script may read and write them.
#pragma once

#include <span>
#include <string_view>

namespace varn {

struct PropertyInfo {
    std::string_view name;
    int type;  // ExprType code
    bool readable;
    bool writable;
};

std::span<const PropertyInfo> propertyTable();

// Index of the property with this name (exact, lower case), or -1.
int findProperty(std::string_view name);

}  // namespace varn
