#include "image/ImageRegistration.h"

#include <string_view>

namespace varn {

namespace {

std::string fileName(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string upperExtension(const std::string& path) {
    std::string name = fileName(path);
    std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return {};
    std::string ext = name.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return ext;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

ImageFileType imageFileTypeOf(const std::string& path) {
    std::string ext = upperExtension(path);
    if (ext == "VBM") return ImageFileType::Bitmap;
    if (ext == "VIC") return ImageFileType::Icon;
    return ImageFileType::Other;
}

std::string imageBaseName(const std::string& path) {
    std::string name = fileName(path);
    std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool followsImageNameRule(const std::string& baseName) {
    std::string_view s = baseName;
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    if (s.empty()) return false;
    for (char c : s) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok) return false;
    }
    return true;
}

bool checkImageFileName(const std::string& path, const ImageProject& project, Ui& ui) {
    const ImageFileType type = imageFileTypeOf(path);
    if (type == ImageFileType::Other) return false;
    const bool bitmap = type == ImageFileType::Bitmap;
    const std::string base = imageBaseName(path);
    if (!followsImageNameRule(base)) {
        ui.error(bitmap ? "Bitmap file names must follow VARN variable naming rules."
                        : "Icon file names must follow VARN variable naming rules.");
        return false;
    }
    const std::string existing = project.imagePathByBaseName(base);
    if (existing.empty()) return true;
    const ImageFileType other = imageFileTypeOf(existing);
    if (bitmap && other == ImageFileType::Icon) {
        ui.error("An Icon file already exists with this name. Please use another bitmap name or remove the Icon.");
        return false;
    }
    if (!bitmap && other == ImageFileType::Bitmap) {
        ui.error("A bitmap file already exists with this name. Please use another icon name or remove the bitmap.");
        return false;
    }
    return true;
}

bool registerImageFile(const std::string& path, IconKind kind, ImageProject& project, Ui& ui) {
    if (!checkImageFileName(path, project, ui)) return false;
    if (imageFileTypeOf(path) == ImageFileType::Bitmap) {
        project.addBitmapFile(path);
    } else if (kind == IconKind::Desktop) {
        project.setLargeIcon(path);
    } else if (kind == IconKind::List) {
        project.setSmallIcon(path);
    } else {
        return true;
    }
    project.markModified();
    return true;
}

}  // namespace varn
