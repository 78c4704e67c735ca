// What the "Application Settings" dialog does with the project settings for
// the target of the active build configuration: which controls it shows and
// enables, the values it loads, the creator ID kept in text and hex form, the
// checks of OK, and the write-back when the dialog goes away (after OK and
// after Cancel alike). The dialog binds its controls to `fields` and `layout`.
#pragma once

#include <string>
#include <vector>

#include "project/BuildConfiguration.h"
#include "project/ProjectModel.h"

namespace varn {

class Ui;

struct ApplicationSettingsFields {
    std::string creatorText;  // at most 4 characters
    std::string creatorHex;   // at most 8 characters
    std::string desktopName;
    bool changeDBCreatorID = false;
    std::string prcVersion;
    int prcTypeIndex = 0;  // 0 "Application", 1 "Library"
    bool nonBeamable = false;
    bool backup = false;
    std::string splashScreen;
    std::vector<std::string> splashScreens;  // the choices of the editable list
    bool sipResize = false;
    int formWidth = 0;
    int formHeight = 0;
};

struct ApplicationSettingsLayout {
    struct Control {
        bool visible = true;
        bool enabled = true;
        bool readOnly = false;  // shown and enabled, but its value is not kept
    };
    Control creatorText;
    Control creatorHex;
    Control desktopName;
    Control changeDBCreatorID;
    Control prcVersion;
    Control prcType;
    Control nonBeamable;
    Control backup;
    Control splashScreen;
    Control sipResize;
    Control formSize;  // width and height together
};

class ApplicationSettingsRules {
public:
    static constexpr std::size_t kMaxDesktopName = 31;
    static constexpr std::size_t kMaxPrcVersion = 15;
    static constexpr int kMinFormSize = 0;
    static constexpr int kMaxFormSize = 9999;
    static constexpr const char* kPrcTypes[2] = {"Application", "Library"};

    static constexpr const char* kUpperCaseQuestion =
        "User application creator ID's should start with an uppercase letter.\n"
        "The program may fail if this is not done.\nDo you wish to change it?";
    static constexpr const char* kSameSize = "The runtime form width and height must be the same value";
    static constexpr const char* kPalmSizes = "The runtime form size must be 160 or 320";

    // Loads the fields and the layout from the project (opening the dialog).
    explicit ApplicationSettingsRules(ProjectModel& model);

    TargetPlatform target() const { return target_; }
    ApplicationSettingsFields fields;
    ApplicationSettingsLayout layout;

    // The two creator fields follow each other: editing one rewrites the other.
    void setCreatorText(const std::string& text);
    void setCreatorHex(const std::string& hex);

    // OK: trims, asks about a creator ID that does not start with an upper-case
    // letter, checks the PalmOS form size. True: the dialog may close and the
    // project is marked modified. False: the dialog stays open.
    bool ok(Ui& ui);

    // The dialog is going away: the fields go into the settings by target.
    void writeBack();

private:
    ProjectModel& model_;
    TargetPlatform target_;
};

}  // namespace varn
