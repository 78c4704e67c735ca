#include "app/IdeSettings.h"

#include <cstdio>

#include "app/Ui.h"
#include "editor/ColouringSettings.h"
#include "platform/SettingsStore.h"

namespace varn {

namespace {

using Key = IdeSettings::Key;

struct Switch {
    const char* key;
    bool IdeSettings::*field;
    int def;
};

// The 0/1 keys in table order.
constexpr Switch kSwitches[] = {
    {Key::RestoreLastActiveWorkspace, &IdeSettings::restoreLastActiveWorkspace, 1},
    {Key::AssumeProjectName, &IdeSettings::assumeProjectName, 1},
    {Key::ConfirmAutoSave, &IdeSettings::confirmAutoSave, 0},
    {Key::ConfirmAutoBuild, &IdeSettings::confirmAutoBuild, 0},
    {Key::ShowCBuildWindow, &IdeSettings::showCBuildWindow, 1},
    {Key::AddNewFile, &IdeSettings::addNewFile, 1},
    {Key::AutoDupCheck, &IdeSettings::autoDupCheck, 1},
    {Key::AllowMultipleIDE, &IdeSettings::allowMultipleIDE, 0},
    {Key::AllowAutoProp, &IdeSettings::allowAutoProp, 1},
    {Key::ShowDebugDataPopups, &IdeSettings::showDebugDataPopups, 1},
};

}  // namespace

std::string withoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

IdeSettings IdeSettings::load(const SettingsStore& store, int processFormSizeX, int processFormSizeY) {
    IdeSettings s;
    for (const Switch& sw : kSwitches) s.*sw.field = store.getInt(kSection, sw.key, sw.def) != 0;
    s.palmPilotInstallDir = store.getString(kSection, Key::PalmPilotInstallDir);
    s.winCEInstallDir = store.getString(kSection, Key::WinCEInstallDir);
    s.formSizeX = processFormSizeX;
    s.formSizeY = processFormSizeY;
    s.tabSize = store.getInt(kSourceFilesSection, Key::TabSize, 3);
    s.showTabs = store.getInt(kSourceFilesSection, Key::ShowTabs, 0) != 0;
    s.keepTabs = store.getInt(kSourceFilesSection, Key::KeepTabs, 1) != 0;
    return s;
}

void IdeSettings::save(SettingsStore& store) {
    palmPilotInstallDir = withoutTrailingSeparator(palmPilotInstallDir);
    winCEInstallDir = withoutTrailingSeparator(winCEInstallDir);
    for (const Switch& sw : kSwitches) store.setInt(kSection, sw.key, this->*sw.field ? 1 : 0);
    store.setString(kSection, Key::PalmPilotInstallDir, palmPilotInstallDir);
    store.setString(kSection, Key::WinCEInstallDir, winCEInstallDir);
    store.setInt(kSection, Key::FormSizeX, formSizeX);
    store.setInt(kSection, Key::FormSizeY, formSizeY);
    for (const char* section : {kSourceFilesSection, kCBuildFilesSection}) {
        store.setInt(section, Key::TabSize, tabSize);
        store.setInt(section, Key::ShowTabs, showTabs ? 1 : 0);
        store.setInt(section, Key::KeepTabs, keepTabs ? 1 : 0);
    }
}

void IdeSettings::apply(CVarnIdeApp& app) {
    save(app.settings());
    app.formSizeX = formSizeX;
    app.formSizeY = formSizeY;
    app.palmPilotInstallDir = palmPilotInstallDir;
    app.winCEInstallDir = winCEInstallDir;
}

bool IdeSettings::confirmHideCBuildWindow(Ui& ui) {
    return ui.askOkCancel(kCBuildWindowWarning, {}, MsgIcon::Warning);
}

std::optional<std::string> rangeRefusal(long long value, int min, int max) {
    if (value >= min && value <= max) return std::nullopt;
    char text[96];
    std::snprintf(text, sizeof text, IdeSettings::kIntegerRange, min, max);
    return std::string(text);
}

std::optional<std::string> integerFieldRefusal(const std::string& text, int min, int max) {
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::size_t digits = i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < 100000000000LL) value = value * 10 + (text[i] - '0');
    if (i == digits) return std::string(IdeSettings::kNotAnInteger);
    skipBlanks();
    if (i != text.size()) return std::string(IdeSettings::kNotAnInteger);
    if (negative) value = -value;
    return rangeRefusal(value, min, max);
}

std::string fontStyleText(int weight, bool italic) {
    bool bold = weight >= 700;
    if (bold && italic) return "Bold Italic";
    if (bold) return "Bold";
    if (italic) return "Italic";
    return "Regular";
}

WindowFont fontFromChoice(const std::string& faceName, int tenthsOfPoint, bool bold, bool italic) {
    WindowFont f;
    f.faceName = faceName;
    f.size = tenthsOfPoint / 10;
    f.weight = bold ? 700 : 400;
    f.italic = italic;
    return f;
}

}  // namespace varn
