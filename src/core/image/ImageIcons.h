// Icon kinds and their sizes per form size: a desktop icon is 22×22 and a
// list icon 15×9 on a 160×160 form, both doubled on a 320×320 form.
#pragma once

#include <optional>
#include <string>

namespace varn {

enum class IconKind { Desktop = 0, List = 1, NotIcon = 2 };

struct IconSize {
    int width = 0;
    int height = 0;
};

// Size of a new icon of the kind for the form width (doubled only for 320).
IconSize iconSize(IconKind kind, int formWidth);

// The kind an opened icon of this width has on a form of this width: only
// 160 and 320 wide forms know icons; heights are not compared.
std::optional<IconKind> iconKindForWidth(int imageWidth, int formWidth);

// The four-line message shown when an opened icon fits neither kind.
std::string iconSizeMessage(int formWidth, int formHeight, int imageWidth, int imageHeight);

}  // namespace varn
