#include "form/FormKinds.h"

#include <array>

namespace varn {

namespace {

constexpr std::array<ControlKindInfo, 9> kKinds = {{
    {kind::Text, "text", "Text%d", "Text", "Text Object"},
    {kind::Dropdown, "drop_down", "Dropdown%d", "Dropdown", "Dropdown Object"},
    {kind::Label, "label", "Label%d", "Label", "Label Object"},
    {kind::Button, "button", "Button%d", "Button", "Button Object"},
    {kind::Checkbox, "button", "Checkbox%d", "Checkbox", "Checkbox Object"},
    {kind::Selector, "selector", "Selector%d", "Selector", "Selector Object"},
    {kind::FileSel, "filesel", "FileSel%d", "File Selector", "FileSel Object"},
    {kind::Grid, "grid", "Grid%d", "Data Grid", "Grid Object"},
    {kind::Frame, "frame", "Frame%d", "Frame", "Frame Object"},
}};

}  // namespace

const ControlKindInfo* kindInfo(int code) {
    if (code < kind::Text || code > kind::Frame) return nullptr;
    return &kKinds[static_cast<std::size_t>(code - 1)];
}

bool isControlKind(int code) { return kindInfo(code) != nullptr; }

bool isColumnKind(int code) {
    return code == kind::Button || code == kind::Checkbox || code == kind::Dropdown || code == kind::Label ||
           code == kind::Text;
}

std::string defaultControlName(int code, int id) {
    const ControlKindInfo* info = kindInfo(code);
    std::string pattern = info ? info->namePattern : "Object%d";
    const auto at = pattern.find("%d");
    return pattern.replace(at, 2, std::to_string(id));
}

std::string propertyPageTitle(int code) {
    const ControlKindInfo* info = kindInfo(code);
    return info ? info->pageTitle : "Unknown Object";
}

}  // namespace varn
