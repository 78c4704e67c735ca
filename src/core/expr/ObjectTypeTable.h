// The form object types with the properties each has, in a fixed order; the
// expression checks use it, and the editor builds its property lists from it.
#pragma once

#include <span>
#include <string_view>

namespace varn {

struct ObjectTypeInfo {
    int code;
    std::string_view name;
    std::span<const std::string_view> properties;  // in display order
};

// Object type codes the checks treat specially.
struct ObjectTypeCode {
    static constexpr int File = 23;
    static constexpr int DbFile = 63;
    static constexpr int Grid = 103;
};

std::span<const ObjectTypeInfo> objectTypeTable();

// The entry with this type code, or nullptr.
const ObjectTypeInfo* findObjectType(int code);

bool objectTypeHasProperty(const ObjectTypeInfo& type, std::string_view property);

}  // namespace varn
