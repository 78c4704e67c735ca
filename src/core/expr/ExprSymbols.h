// The names an expression may refer to besides the built-in functions:
// global and local variables and form objects. The IDE's tables are empty.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varn {

struct ExprVariable {
    std::string name;
    int type = 0;        // ExprType code, array and object variable codes included
    int dimensions = 0;  // for many-dimensional arrays (types 7 to 10)
};

struct ExprObject {
    int type = 0;  // object type code (ObjectTypeTable)
    std::string name;
};

struct ExprSymbols {
    std::vector<ExprVariable> locals;
    std::vector<ExprVariable> globals;
    std::vector<ExprObject> objects;

    struct VariableRef {
        const ExprVariable* variable = nullptr;
        int index = -1;
        bool isLocal = false;
    };

    // Names compare without regard to case; locals are searched first.
    VariableRef findVariable(std::string_view name) const;
    // Index of the object, or -1. Files and dbfiles count only with allowFiles.
    int findObject(std::string_view name, bool allowFiles = true) const;
};

}  // namespace varn
