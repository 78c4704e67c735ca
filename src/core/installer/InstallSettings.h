// The per-platform install settings of a project: application information,
// setup dialog files, the file groups, synchronisation (conduit) settings and
// the build options. They live in "<project>_<platform>_InstallSettings.ini"
// beside the project file as the settings tree "InstallSettings_v1".
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "project/BuildConfiguration.h"

namespace varn {

struct ProjectSettings;
class SettingsNode;
class Ui;

namespace install {

inline constexpr const char* kSettingsRoot = "InstallSettings_v1";
inline constexpr const char* kSettingsSuffix = "_InstallSettings.ini";
inline constexpr const char* kDefaultCreatorHex = "5641524E";  // "VARN"
inline constexpr const char* kDefaultCreator = "VARN";
inline constexpr const char* kReadOnlyRefusal = "The file can not be saved because it is marked read-only";
inline constexpr const char* kSheetCaption = "Application Install Settings";
inline constexpr const char* kReadOnlyCaptionSuffix = " (read-only)";

// The install platform of a configuration: the two PocketPC configurations,
// the two PalmOS ones, and Windows for everything else (the "Pilot" names too).
TargetPlatform installPlatformOf(const std::string& configuration);
// "PalmOS", "PocketPC" or "Windows".
const char* platformName(TargetPlatform platform);

// The settings file of a project file for a platform, in the project's folder.
std::string settingsFilePath(const std::string& projectPath, TargetPlatform platform);

// The file groups, in the order their nodes are written.
enum class FileGroup { Device, Data, Desktop, Font, ArmDlls, MipsDlls, Sh3Dlls };
inline constexpr std::size_t kFileGroupCount = 7;

struct FileGroupInfo {
    FileGroup group;
    const char* node;       // "DeviceFiles", ...
    const char* keyPrefix;  // "DeviceFile", ...
    bool pocketPCOnly;
};
const std::array<FileGroupInfo, kFileGroupCount>& fileGroupTable();
const FileGroupInfo& infoOf(FileGroup group);

// A group as the File Groups page shows it on a platform.
struct GroupView {
    FileGroup group;
    std::string caption;
    std::vector<std::string> extensions;  // lower case, without dot; empty with acceptsAny false: none
    bool acceptsAny = false;
};
// The groups of a platform in page order: the application group, for
// PocketPC the font and DLL groups, then the data and desktop groups.
std::vector<GroupView> groupsFor(TargetPlatform platform);
// Whether a dropped file belongs in the group (extension compared without case).
bool accepts(const GroupView& view, const std::string& path);

struct InstallSettings {
    // Application Information
    std::string applicationName;
    std::string companyName;
    std::string version;
    std::string applicationIcon;
    // Setup Dialogs
    std::string setupEpilogFile;
    std::string softwareLicenseFile;
    bool showProgress = false;
    std::string setupPrologFile;
    std::string welcomeBitmapFile;
    // File Groups, indexed by FileGroup
    std::array<std::vector<std::string>, kFileGroupCount> groups;
    // Synchronization
    std::string applicationID;
    std::string applicationSyncDirectory;
    std::string applicationSyncName;
    bool installConduit = false;
    // Build
    bool buildCabFiles = true;

    std::vector<std::string>& files(FileGroup g) { return groups[static_cast<std::size_t>(g)]; }
    const std::vector<std::string>& files(FileGroup g) const { return groups[static_cast<std::size_t>(g)]; }

    // Takes the keys by name from a tree rooted at "InstallSettings_v1";
    // missing nodes and keys keep the defaults. A group takes every key of
    // its node in order, whatever the key's name.
    static InstallSettings fromTree(const SettingsNode& root);
    // Reads the settings file; a missing or unreadable file gives the defaults.
    static InstallSettings load(const std::string& path);

    // The tree the pages write: Appinfo, Dialogs, FileGroups, SyncSettings
    // (PalmOS and PocketPC only) and Build. The font and DLL groups are
    // written for PocketPC only.
    SettingsNode toTree(TargetPlatform platform) const;
    // Writes the tree into the settings file (other sections of the file are
    // kept, each written section is replaced whole). No read-only check.
    Status save(const std::string& path, TargetPlatform platform) const;
};

// Whether the platform has a Synchronization page.
bool hasSyncPage(TargetPlatform platform);

// The creator ID shown on the Synchronization page and written in
// "ApplicationID" (8 hexadecimal digits): "PPCCreatorID" for PocketPC,
// "CreatorID" elsewhere when "ChangeDBCreatorID" is set, else "5641524E".
std::string applicationIdHex(const ProjectSettings& project, TargetPlatform platform);
// Eight hexadecimal digits shown as four characters (digits upper-cased first).
std::string creatorDisplay(const std::string& hex);
// True when the synchronisation name and directory are fixed to "VARN" and
// read-only: "ChangeDBCreatorID" is clear and the platform is not PocketPC.
bool syncFieldsFixed(const ProjectSettings& project, TargetPlatform platform);

// What the Synchronization page puts into the settings when it is filled:
// the application ID from the project, and "VARN" for the fixed fields.
void applySyncPageRules(InstallSettings& settings, const ProjectSettings& project, TargetPlatform platform);

// Saving after OK: refuses a read-only settings file with the message
// "The file can not be saved because it is marked read-only" (the caller
// then ends the sheet with Cancel); a file that cannot be written shows
// "Unable to save the file <path>." (the sheet stays open with its edits).
enum class SaveOutcome { Saved, ReadOnly, Failed };
SaveOutcome saveAfterOk(const InstallSettings& settings, const std::string& path, TargetPlatform platform, Ui& ui);

// The sheet's caption: " (read-only)" is added when the file exists and is read-only.
std::string sheetCaption(const std::string& path);

}  // namespace install
}  // namespace varn
