// The preferences edited by the "IDE Settings" dialog (CSettingsDlg): the
// behaviour switches and install folders of "Settings", the IDE form size,
// and the editor's tab handling kept in the editor sections.
#pragma once

#include <optional>
#include <string>

#include "app/CVarnIdeApp.h"

namespace varn {

class Ui;

struct IdeSettings {
    static constexpr const char* kSection = "Settings";
    static constexpr const char* kTitle = "IDE Settings";
    static constexpr int kMinTabSize = 1;
    static constexpr int kMaxTabSize = 32;
    static constexpr int kMinFormSize = 100;
    static constexpr int kMaxFormSize = 1000;
    static constexpr const char* kCBuildWindowWarning =
        "Warning!\n\nSome versions of Windows will hang during a C Build compile if the C Build window is not shown.";
    // The framework's refusals of a number field.
    static constexpr const char* kNotAnInteger = "Please enter an integer.";
    static constexpr const char* kIntegerRange = "Please enter an integer between %d and %d.";

    // Key names, in the order OK writes them.
    struct Key {
        static constexpr const char* RestoreLastActiveWorkspace = "RestoreLastActiveWorkspace";
        static constexpr const char* AssumeProjectName = "AssumeProjectName";
        static constexpr const char* ConfirmAutoSave = "ConfirmAutoSave";
        static constexpr const char* ConfirmAutoBuild = "ConfirmAutoBuild";
        static constexpr const char* ShowCBuildWindow = "ShowCBuildWindow";
        static constexpr const char* AddNewFile = "AddNewFile";
        static constexpr const char* AutoDupCheck = "AutoDupCheck";
        static constexpr const char* AllowMultipleIDE = "AllowMultipleIDE";
        static constexpr const char* AllowAutoProp = "AllowAutoProp";
        static constexpr const char* ShowDebugDataPopups = "ShowDebugDataPopups";
        static constexpr const char* PalmPilotInstallDir = "PalmPilotInstallDir";
        static constexpr const char* WinCEInstallDir = "WinCEInstallDir";
        static constexpr const char* FormSizeX = "FormSizeX";
        static constexpr const char* FormSizeY = "FormSizeY";
        // In the editor sections.
        static constexpr const char* TabSize = "Tab Size";
        static constexpr const char* ShowTabs = "Show Tabs";
        static constexpr const char* KeepTabs = "Keep tabs";
    };

    bool restoreLastActiveWorkspace = true;
    bool assumeProjectName = true;
    bool confirmAutoSave = false;
    bool confirmAutoBuild = false;
    bool showCBuildWindow = true;
    bool addNewFile = true;
    bool autoDupCheck = true;
    bool allowMultipleIDE = false;
    bool allowAutoProp = true;
    bool showDebugDataPopups = true;
    std::string palmPilotInstallDir;
    std::string winCEInstallDir;
    int formSizeX = 320;
    int formSizeY = 320;
    int tabSize = 3;
    bool showTabs = false;
    bool keepTabs = true;  // false: the "Insert spaces" choice

    // Opening: every key with its default (the tab keys from the source
    // editor section), the form size from the process values.
    static IdeSettings load(const SettingsStore& store, int processFormSizeX, int processFormSizeY);

    // OK steps 1-3: a trailing "\" (or "/") is removed from each install
    // folder, every key is written to "Settings", and the three tab keys to
    // the source and the C build editor sections.
    void save(SettingsStore& store);
    // OK on the application: save() into its store, then the form size and the
    // install folders become the process values.
    void apply(CVarnIdeApp& app);


    // Unchecking "Show C build window": the warning with OK/Cancel; false
    // (Cancel) means the box is ticked again.
    static bool confirmHideCBuildWindow(Ui& ui);
};

// A folder as stored: without trailing "\" or "/" (a lone root stays).
std::string withoutTrailingSeparator(std::string folder);

// "Please enter an integer between %d and %d." when `value` is out of range.
std::optional<std::string> rangeRefusal(long long value, int min, int max);
// A number field's text: "Please enter an integer." when it is not one
// (blanks around a sign and digits allowed), else the range refusal.
std::optional<std::string> integerFieldRefusal(const std::string& text, int min, int max);

// The style a font slot shows: "Regular", "Bold", "Italic" or "Bold Italic"
// (a weight of 700 or more is bold).
std::string fontStyleText(int weight, bool italic);
// The slot's values after the font dialog's OK: the point size from the
// dialog's tenths of a point, weight 700 when bold is chosen else 400.
WindowFont fontFromChoice(const std::string& faceName, int tenthsOfPoint, bool bold, bool italic);

}  // namespace varn
