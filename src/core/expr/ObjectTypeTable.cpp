#include "expr/ObjectTypeTable.h"

#include <algorithm>
#include <iterator>

namespace varn {

namespace {

using P = std::string_view;

constexpr P kButton[] = {"width", "height", "x_position", "y_position", "display", "hidden",
                         "bitmap", "object_type", "checkbox", "font_name", "foreground",
                         "background", "object_string", "bound", "modified", "format"};
constexpr P kMenuItem[] = {"display", "object_type"};
constexpr P kMenuTop[] = {"display", "object_type"};
constexpr P kLabel[] = {"width", "height", "x_position", "y_position", "display", "hidden", "bitmap",
                        "object_type", "font_name", "foreground", "object_string", "bound", "format"};
constexpr P kText[] = {"width", "height", "x_position", "y_position", "display", "hidden",
                       "object_type", "no_input", "cursor", "focused", "font_name", "foreground",
                       "background", "object_string", "bound", "modified", "format"};
constexpr P kFile[] = {"number_of_records", "object_type", "open_name", "object_string"};
constexpr P kDbFile[] = {"number_of_records", "number_of_fields", "data_source_name",
                         "object_type", "open_name", "object_string"};
constexpr P kFrame[] = {"display", "hidden", "object_type", "focused_object", "foreground",
                        "background", "object_string", "menu_bar"};
constexpr P kFileSel[] = {"width", "height", "x_position", "y_position", "display", "selected",
                          "hidden", "object_type", "list_size", "focused", "font_name",
                          "foreground", "background", "object_string"};
constexpr P kSelector[] = {"width", "height", "x_position", "y_position", "display", "selected",
                           "hidden", "list", "object_type", "list_size", "focused", "font_name",
                           "foreground", "background", "object_string"};
constexpr P kGrid[] = {"width", "height", "x_position", "y_position", "hidden", "bookmark",
                       "object_type", "object_string", "number_of_display_rows",
                       "number_of_display_columns", "old_bookmark", "number_of_data_rows",
                       "selected", "select_enable"};
constexpr P kMenuBar[] = {"object_type"};
constexpr P kDropDown[] = {"width", "height", "x_position", "y_position", "hidden", "list",
                           "object_type", "list_size", "focused", "font_name", "foreground",
                           "background", "object_string", "display", "bound", "modified",
                           "format", "no_input", "cursor"};

constexpr ObjectTypeInfo kObjectTypes[] = {
    {6, "button", kButton},
    {29, "menu_item", kMenuItem},
    {69, "menu_top", kMenuTop},
    {9, "label", kLabel},
    {4, "text", kText},
    {ObjectTypeCode::File, "file", kFile},
    {ObjectTypeCode::DbFile, "dbfile", kDbFile},
    {30, "frame", kFrame},
    {49, "filesel", kFileSel},
    {61, "selector", kSelector},
    {ObjectTypeCode::Grid, "grid", kGrid},
    {110, "menu_bar", kMenuBar},
    {111, "drop_down", kDropDown},
};

static_assert(std::size(kObjectTypes) == 13);

}  // namespace

std::span<const ObjectTypeInfo> objectTypeTable() { return kObjectTypes; }

const ObjectTypeInfo* findObjectType(int code) {
    for (const ObjectTypeInfo& type : kObjectTypes) {
        if (type.code == code) return &type;
    }
    return nullptr;
}

bool objectTypeHasProperty(const ObjectTypeInfo& type, std::string_view property) {
    return std::find(type.properties.begin(), type.properties.end(), property) != type.properties.end();
}

}  // namespace varn
