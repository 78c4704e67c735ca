#include "installer/InstallSettings.h"

#include "app/Ui.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "project/CreatorId.h"
#include "project/ProjectSettings.h"
#include "project/SettingsNode.h"

namespace varn::install {

namespace {

constexpr const char* kAppinfo = "Appinfo";
constexpr const char* kDialogs = "Dialogs";
constexpr const char* kFileGroups = "FileGroups";
constexpr const char* kSyncSettings = "SyncSettings";
constexpr const char* kBuild = "Build";

std::string text(const SettingsNode* node, const char* key) { return node ? node->getString(key) : std::string(); }

// "True" in any letter case reads as true; a missing key keeps the default.
bool flag(const SettingsNode* node, const char* key, bool def) { return node ? node->getBool(key, def) : def; }

}  // namespace

TargetPlatform installPlatformOf(const std::string& configuration) {
    if (isConfiguration(configuration, config::kPocketPCDebug) ||
        isConfiguration(configuration, config::kPocketPCRelease))
        return TargetPlatform::PocketPC;
    if (isConfiguration(configuration, config::kPalmOSDebug) || isConfiguration(configuration, config::kPalmOSRelease))
        return TargetPlatform::PalmOS;
    return TargetPlatform::Windows;
}

const char* platformName(TargetPlatform platform) {
    switch (platform) {
        case TargetPlatform::PalmOS: return "PalmOS";
        case TargetPlatform::PocketPC: return "PocketPC";
        case TargetPlatform::Windows: break;
    }
    return "Windows";
}

std::string settingsFilePath(const std::string& projectPath, TargetPlatform platform) {
    std::string name = paths::baseName(projectPath) + "_" + platformName(platform) + kSettingsSuffix;
    return paths::join(paths::folderOf(projectPath), name);
}

const std::array<FileGroupInfo, kFileGroupCount>& fileGroupTable() {
    static const std::array<FileGroupInfo, kFileGroupCount> table = {{
        {FileGroup::Device, "DeviceFiles", "DeviceFile", false},
        {FileGroup::Data, "VARNDataFiles", "VARNDataFile", false},
        {FileGroup::Desktop, "DesktopFiles", "DesktopFile", false},
        {FileGroup::Font, "FontFiles", "FontFile", true},
        {FileGroup::ArmDlls, "ARMDlls", "ARMDllFile", true},
        {FileGroup::MipsDlls, "MIPSDlls", "MIPSDllFile", true},
        {FileGroup::Sh3Dlls, "SH3Dlls", "SH3DllFile", true},
    }};
    return table;
}

const FileGroupInfo& infoOf(FileGroup group) { return fileGroupTable()[static_cast<std::size_t>(group)]; }

std::vector<GroupView> groupsFor(TargetPlatform platform) {
    std::vector<GroupView> v;
    switch (platform) {
        case TargetPlatform::PalmOS:
            v.push_back({FileGroup::Device, "Application Files (*.prc and *.pdb)", {"prc", "pdb"}});
            break;
        case TargetPlatform::PocketPC:
            v.push_back({FileGroup::Device, "Application Files (*.vce and *.wav)", {"vce", "wav"}});
            v.push_back({FileGroup::Font, "Font Files (*.ttf)", {"ttf"}});
            v.push_back({FileGroup::ArmDlls, "ARM Device Dll Files (*.dll)", {"dll"}});
            v.push_back({FileGroup::MipsDlls, "MIPS Device Dll Files (*.dll)", {"dll"}});
            v.push_back({FileGroup::Sh3Dlls, "SH3 Device Dll Files (*.dll)", {"dll"}});
            break;
        case TargetPlatform::Windows:
            // The Windows application group takes no dropped file.
            v.push_back({FileGroup::Device, "Application Files (*.vsp)", {}});
            break;
    }
    v.push_back({FileGroup::Data, "VARN Data Files (*.vdb and *.vdi)", {"vdb", "vdi"}});
    v.push_back({FileGroup::Desktop, "Desktop Files (*.*)", {}, true});
    return v;
}

bool accepts(const GroupView& view, const std::string& path) {
    if (view.acceptsAny) return true;
    std::string ext = paths::lower(paths::extension(path));
    for (const auto& e : view.extensions)
        if (e == ext) return true;
    return false;
}

bool hasSyncPage(TargetPlatform platform) { return platform != TargetPlatform::Windows; }

InstallSettings InstallSettings::fromTree(const SettingsNode& root) {
    InstallSettings s;
    const SettingsNode* app = root.child(kAppinfo);
    s.applicationName = text(app, "ApplicationName");
    s.companyName = text(app, "CompanyName");
    s.version = text(app, "Version");
    s.applicationIcon = text(app, "ApplicationIcon");

    const SettingsNode* dlg = root.child(kDialogs);
    s.setupEpilogFile = text(dlg, "SetupEpilogFile");
    s.softwareLicenseFile = text(dlg, "SoftwareLicenseFile");
    s.showProgress = flag(dlg, "ShowProgress", false);
    s.setupPrologFile = text(dlg, "SetupPrologFile");
    s.welcomeBitmapFile = text(dlg, "WelcomeBitmapFile");

    if (const SettingsNode* groups = root.child(kFileGroups)) {
        for (const auto& info : fileGroupTable()) {
            const SettingsNode* g = groups->child(info.node);
            if (!g) continue;
            auto& list = s.files(info.group);
            for (const auto& [key, value] : g->keys()) list.push_back(value);
        }
    }

    const SettingsNode* sync = root.child(kSyncSettings);
    s.applicationID = text(sync, "ApplicationID");
    s.applicationSyncDirectory = text(sync, "ApplicationSyncDirectory");
    s.applicationSyncName = text(sync, "ApplicationSyncName");
    s.installConduit = flag(sync, "InstallConduit", false);

    s.buildCabFiles = flag(root.child(kBuild), "BuildCabFiles", true);
    return s;
}

InstallSettings InstallSettings::load(const std::string& path) {
    auto profile = ProfileFile::load(path);
    if (!profile) return {};
    auto root = SettingsNode::load(*profile, kSettingsRoot);
    if (!root) return {};
    return fromTree(*root);
}

SettingsNode InstallSettings::toTree(TargetPlatform platform) const {
    SettingsNode root(kSettingsRoot);
    SettingsNode& app = root.addChild(kAppinfo);
    app.setString("ApplicationName", applicationName);
    app.setString("CompanyName", companyName);
    app.setString("Version", version);
    app.setString("ApplicationIcon", applicationIcon);

    SettingsNode& dlg = root.addChild(kDialogs);
    dlg.setString("SetupEpilogFile", setupEpilogFile);
    dlg.setString("SoftwareLicenseFile", softwareLicenseFile);
    dlg.setBool("ShowProgress", showProgress);
    dlg.setString("SetupPrologFile", setupPrologFile);
    dlg.setString("WelcomeBitmapFile", welcomeBitmapFile);

    SettingsNode& groupsNode = root.addChild(kFileGroups);
    for (const auto& info : fileGroupTable()) {
        if (info.pocketPCOnly && platform != TargetPlatform::PocketPC) continue;
        SettingsNode& g = groupsNode.addChild(info.node);
        int n = 1;
        for (const auto& f : files(info.group)) g.setString(info.keyPrefix + std::to_string(n++), f);
    }

    if (hasSyncPage(platform)) {
        SettingsNode& sync = root.addChild(kSyncSettings);
        sync.setString("ApplicationID", applicationID);
        sync.setString("ApplicationSyncDirectory", applicationSyncDirectory);
        sync.setString("ApplicationSyncName", applicationSyncName);
        sync.setBool("InstallConduit", installConduit);
    }

    root.addChild(kBuild).setBool("BuildCabFiles", buildCabFiles);
    return root;
}

Status InstallSettings::save(const std::string& path, TargetPlatform platform) const {
    auto profile = ProfileFile::load(path);
    ProfileFile file = profile ? std::move(*profile) : ProfileFile();
    toTree(platform).save(file);
    return file.save(path);
}

std::string applicationIdHex(const ProjectSettings& project, TargetPlatform platform) {
    if (platform == TargetPlatform::PocketPC) return project.ppcCreatorID;
    if (project.changeDBCreatorID) return project.creatorID;
    return kDefaultCreatorHex;
}

std::string creatorDisplay(const std::string& hex) { return creator::hexToText(paths::upper(hex)); }

bool syncFieldsFixed(const ProjectSettings& project, TargetPlatform platform) {
    return !project.changeDBCreatorID && platform != TargetPlatform::PocketPC;
}

void applySyncPageRules(InstallSettings& settings, const ProjectSettings& project, TargetPlatform platform) {
    if (!hasSyncPage(platform)) return;
    settings.applicationID = applicationIdHex(project, platform);
    if (syncFieldsFixed(project, platform)) {
        settings.applicationSyncName = kDefaultCreator;
        settings.applicationSyncDirectory = kDefaultCreator;
    }
}

SaveOutcome saveAfterOk(const InstallSettings& settings, const std::string& path, TargetPlatform platform, Ui& ui) {
    if (fsys::exists(path) && fsys::isReadOnly(path)) {
        ui.error(kReadOnlyRefusal);
        return SaveOutcome::ReadOnly;
    }
    if (!settings.save(path, platform).ok()) {
        ui.error("Unable to save the file " + path + ".");
        return SaveOutcome::Failed;
    }
    return SaveOutcome::Saved;
}

std::string sheetCaption(const std::string& path) {
    std::string caption = kSheetCaption;
    if (fsys::exists(path) && fsys::isReadOnly(path)) caption += kReadOnlyCaptionSuffix;
    return caption;
}

}  // namespace varn::install
