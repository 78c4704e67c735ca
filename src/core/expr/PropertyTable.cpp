#include "expr/PropertyTable.h"

#include "expr/ExprNode.h"

namespace varn {

namespace {

constexpr int N = ExprType::Number;
constexpr int S = ExprType::String;

constexpr PropertyInfo kProperties[] = {
    {"width", N, true, true},
    {"height", N, true, true},
    {"x_position", N, true, true},
    {"y_position", N, true, true},
    {"display", S, true, true},
    {"selected", N, true, true},
    {"hidden", N, true, true},
    {"list", ExprType::List, false, true},
    {"number_of_records", N, true, false},
    {"number_of_fields", N, true, false},
    {"data_source_name", S, true, true},
    {"bitmap", ExprType::Bitmap, false, true},
    {"object_type", S, true, false},
    {"no_input", N, true, true},
    {"list_size", N, true, true},
    {"open_name", S, true, false},
    {"checkbox", N, true, true},
    {"cursor", N, true, true},
    {"focused", N, true, true},
    {"focused_object", ExprType::Object, true, false},
    {"font_name", S, true, true},
    {"foreground", N, true, true},
    {"background", N, true, true},
    {"object_string", S, true, true},
    {"bookmark", N, true, true},
    {"number_of_display_rows", N, true, false},
    {"number_of_display_columns", N, true, false},
    {"bound", N, true, false},
    {"modified", N, true, true},
    {"format", S, true, true},
    {"old_bookmark", N, true, false},
    {"number_of_data_rows", N, true, true},
    {"menu_bar", ExprType::Object, true, true},
    {"select_enable", N, true, true},
};

static_assert(std::size(kProperties) == 34);

}  // namespace

std::span<const PropertyInfo> propertyTable() { return kProperties; }

int findProperty(std::string_view name) {
    for (int i = 0; i < static_cast<int>(std::size(kProperties)); ++i) {
        if (kProperties[i].name == name) return i;
    }
    return -1;
}

}  // namespace varn
