#include "project/ApplicationSettingsRules.h"

#include "app/Ui.h"
#include "platform/Paths.h"
#include "project/CreatorId.h"

namespace varn {

namespace {

std::string trimmed(const std::string& s) {
    auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

}  // namespace

ApplicationSettingsRules::ApplicationSettingsRules(ProjectModel& model)
    : model_(model), target_(platformOf(model.activeConfiguration)) {
    const ProjectSettings& s = model.settings;
    const bool palm = target_ == TargetPlatform::PalmOS;
    const bool optimized = palm && s.optimizedBuild;

    if (!palm) {
        layout.changeDBCreatorID.visible = false;
        layout.prcType.visible = false;
        layout.prcVersion.visible = false;
        layout.nonBeamable.visible = false;
        layout.backup.visible = false;
    }
    layout.splashScreen.enabled = target_ == TargetPlatform::PocketPC || optimized;
    if (target_ == TargetPlatform::Windows) {
        layout.sipResize.visible = false;
        layout.splashScreen.visible = false;
        layout.desktopName.visible = false;
        layout.creatorText.enabled = false;
        // Windows keeps no creator ID of its own: the write-back leaves it alone.
        layout.creatorHex.readOnly = true;
    }
    if (palm) {
        layout.sipResize.visible = false;
        for (auto* c : {&layout.changeDBCreatorID, &layout.prcVersion, &layout.nonBeamable, &layout.backup})
            c->enabled = optimized;
    }
    if (target_ == TargetPlatform::PocketPC) layout.formSize.enabled = false;

    fields.desktopName = s.desktopName;
    fields.prcVersion = s.prcVersion;
    fields.prcTypeIndex = paths::equalNoCase(s.prcType, kPrcTypes[0]) ? 0 : 1;
    fields.nonBeamable = s.disableBeamApplication;
    fields.backup = s.enableApplicationBackup;
    fields.splashScreen = s.splashScreen;
    fields.sipResize = s.enableSipResize;
    if (palm) {
        fields.changeDBCreatorID = optimized && s.changeDBCreatorID;
        fields.creatorHex = s.creatorID;
    } else {
        fields.creatorHex = s.ppcCreatorID;
        fields.nonBeamable = false;
        fields.backup = false;
        fields.prcVersion.clear();
    }

    if (target_ == TargetPlatform::PocketPC || s.optimizedBuild) {
        std::string large = model.tree.largeIconPath();
        if (!large.empty()) fields.splashScreens.push_back(ProjectTree::labelOf(large));
        for (const auto& image : model.tree.images()) fields.splashScreens.push_back(ProjectTree::labelOf(image));
    }

    switch (target_) {
    case TargetPlatform::PalmOS:
        fields.formWidth = s.palmOSFormSizeX;
        fields.formHeight = s.palmOSFormSizeY;
        break;
    case TargetPlatform::PocketPC:
        fields.formWidth = s.pocketPCFormSizeX;
        fields.formHeight = s.pocketPCFormSizeY;
        break;
    case TargetPlatform::Windows:
        fields.formWidth = s.windowsFormSizeX;
        fields.formHeight = s.windowsFormSizeY;
        break;
    }
    fields.creatorText = creator::hexToText(fields.creatorHex);
}

void ApplicationSettingsRules::setCreatorText(const std::string& text) {
    fields.creatorText = text;
    fields.creatorHex = creator::textToHex(text);
}

void ApplicationSettingsRules::setCreatorHex(const std::string& hex) {
    fields.creatorHex = hex;
    fields.creatorText = creator::hexToText(hex);
}

bool ApplicationSettingsRules::ok(Ui& ui) {
    fields.desktopName = trimmed(fields.desktopName);
    fields.prcVersion = trimmed(fields.prcVersion);
    setCreatorHex(trimmed(fields.creatorHex));

    if (!fields.creatorText.empty() && !(fields.creatorText[0] >= 'A' && fields.creatorText[0] <= 'Z')) {
        if (ui.askYesNo(kUpperCaseQuestion, {}, MsgIcon::Warning)) return false;
    }
    if (target_ == TargetPlatform::PalmOS) {
        if (fields.formWidth != fields.formHeight) {
            ui.warning(kSameSize);
            return false;
        }
        if (fields.formWidth != 160 && fields.formWidth != 320) {
            ui.warning(kPalmSizes);
            return false;
        }
    }
    model_.modified = true;
    return true;
}

void ApplicationSettingsRules::writeBack() {
    ProjectSettings& s = model_.settings;
    s.desktopName = fields.desktopName;
    s.prcType = kPrcTypes[fields.prcTypeIndex == 1 ? 1 : 0];
    s.splashScreen = fields.splashScreen;
    s.enableSipResize = fields.sipResize;
    switch (target_) {
    case TargetPlatform::PalmOS:
        if (s.optimizedBuild) {
            s.changeDBCreatorID = fields.changeDBCreatorID;
            s.prcVersion = fields.prcVersion;
            s.disableBeamApplication = fields.nonBeamable;
            s.enableApplicationBackup = fields.backup;
        }
        s.creatorID = fields.creatorHex;
        s.palmOSFormSizeX = fields.formWidth;
        s.palmOSFormSizeY = fields.formWidth;
        break;
    case TargetPlatform::PocketPC:
        s.ppcCreatorID = fields.creatorHex;
        s.pocketPCFormSizeX = fields.formWidth;
        s.pocketPCFormSizeY = fields.formHeight;
        break;
    case TargetPlatform::Windows:
        s.windowsFormSizeX = fields.formWidth;
        s.windowsFormSizeY = fields.formHeight;
        break;
    }
}

}  // namespace varn
