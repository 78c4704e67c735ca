#include "image/ImageIcons.h"

#include <cstdio>

namespace varn {

IconSize iconSize(IconKind kind, int formWidth) {
    IconSize s = kind == IconKind::List ? IconSize{15, 9} : IconSize{22, 22};
    if (formWidth == 320) {
        s.width *= 2;
        s.height *= 2;
    }
    return s;
}

std::optional<IconKind> iconKindForWidth(int imageWidth, int formWidth) {
    if (formWidth == 320) {
        if (imageWidth == 44) return IconKind::Desktop;
        if (imageWidth == 30) return IconKind::List;
    } else if (formWidth == 160) {
        if (imageWidth == 22) return IconKind::Desktop;
        if (imageWidth == 15) return IconKind::List;
    }
    return std::nullopt;
}

std::string iconSizeMessage(int formWidth, int formHeight, int imageWidth, int imageHeight) {
    char sizes[128];
    std::snprintf(sizes, sizeof sizes, "The current formsize is %dx%d and the icon size is %dx%d\n", formWidth,
                  formHeight, imageWidth, imageHeight);
    return std::string("The icon size is not valid for the current project runtime formsize\n") + sizes +
           "For a form size of 160x160 a desktop icon is 22x22 and a list icon is 15x9\n"
           "For a form size of 320x320 a desktop icon is 44x44 and a list icon is 30x18";
}

}  // namespace varn
