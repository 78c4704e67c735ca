#include "expr/ExprSymbols.h"

#include "expr/ObjectTypeTable.h"

namespace varn {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

int findIn(const std::vector<ExprVariable>& table, std::string_view name) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (sameName(table[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

ExprSymbols::VariableRef ExprSymbols::findVariable(std::string_view name) const {
    if (int i = findIn(locals, name); i >= 0) return {&locals[i], i, true};
    if (int i = findIn(globals, name); i >= 0) return {&globals[i], i, false};
    return {};
}

int ExprSymbols::findObject(std::string_view name, bool allowFiles) const {
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const ExprObject& object = objects[i];
        bool isFile = object.type == ObjectTypeCode::File || object.type == ObjectTypeCode::DbFile;
        if (isFile && !allowFiles) continue;
        if (sameName(object.name, name)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace varn
