// The files an installer build generates for other programs: the install
// script of the desktop setup program, and for PocketPC the CAB definition
// files (SetupDll.dat, <P>.inf, buildcab.bat, buildcab_cleanup.bat) and the
// CE application manager's <P>.ini. Each is built as text here and written
// whole by the installer build.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "installer/InstallSettings.h"
#include "project/SettingsNode.h"

namespace varn::install {

inline constexpr const char* kScriptRoot = "InstallScript_v1";
inline constexpr const char* kScriptFile = "InstallScript.ini";
inline constexpr const char* kSetupDllDat = "SetupDll.dat";
inline constexpr const char* kBuildCabBat = "buildcab.bat";
inline constexpr const char* kCleanupBat = "buildcab_cleanup.bat";
inline constexpr const char* kCabWizard = "CabWiz.exe";

// What the generated files take from the project besides the install settings.
struct ProjectFacts {
    std::string baseName;           // P: the project file's name without folder and extension
    std::string creatorID;          // the project's "CreatorID" setting (hexadecimal digits)
    bool changeDBCreatorID = false;
    std::string desktopName;        // the project's "DesktopName" setting
};

// The file-name part of a group entry or dialog file as stored, whichever
// separator it uses.
std::string entryFileName(const std::string& entry);

// The install script tree "InstallScript_v1": Appinfo, Dialogs, FileGroups
// (application and data groups, file names only) and SyncSettings.
SettingsNode installScriptTree(const ProjectFacts& project, TargetPlatform platform, const InstallSettings& s);
// The script as its file holds it (profile layout, CR LF line ends).
std::string installScriptText(const ProjectFacts& project, TargetPlatform platform, const InstallSettings& s);

// The creator written into the CAB definition files: "VARN", or the project's
// "CreatorID" decoded two digits a character, cut to 4 and trimmed of blanks.
std::string cabCreator(const std::string& creatorIdHex);

std::string setupDllDatText(const std::string& creator, const InstallSettings& s);
std::string cabInfText(const ProjectFacts& project, const std::string& creator, const InstallSettings& s);
// The cabinet wizard's arguments on <P>.inf, each one argument.
std::vector<std::string> buildCabArguments(const std::string& baseName);
// buildcab.bat: the wizard (the IDE folder's "CabWiz.exe") with those
// arguments as a command line, the two paths quoted.
std::string buildCabText(const std::string& ideDirectory, const std::string& baseName);
// The cabinets the wizard makes, as <P>.ini lists them.
std::array<std::string, 3> cabFileNames(const std::string& baseName);
std::string cleanupBatText();
std::string appManagerIniText(const std::string& baseName, const InstallSettings& s);

// The clean-up commands run one by one after the cabinet wizard (err.log is kept).
inline constexpr std::array<const char*, 16> kCleanupCommands = {
    "del *.vce",      "del *.wav",      "del *.ttf",  "del *.inf",      "del SetupDll.dat", "del ARM\\*.dll",
    "del ARM\\*.exe", "rmdir ARM",      "del MIPS\\*.dll", "del MIPS\\*.exe", "rmdir MIPS",   "del SH3\\*.dll",
    "del SH3\\*.exe", "rmdir SH3",      "del buildcab.bat", "del buildcab_cleanup.bat",
};

}  // namespace varn::install
