// The classification of the active configuration and every path a build
// uses, derived from the project file, the application file, the
// configuration and the installation folder.
#pragma once

#include <string>

namespace varn {

struct ProjectModel;

struct BuildFlags {
    bool pocketPC = false;
    bool windows = false;
    bool palmOSFlavour = false;  // "PalmOS Debug" / "PalmOS Release" only
    bool palm = false;           // neither PocketPC nor Windows
    bool debuggerBuild = false;
    bool optimizedBuild = false;

    // The configuration name compares without case.
    static BuildFlags classify(const std::string& configuration, bool optimizedSetting);
    bool operator==(const BuildFlags&) const = default;
};

struct BuildPaths {
    std::string projectFolder;  // D (native, no trailing separator)
    std::string baseName;       // B
    std::string appFolder;      // AD
    std::string appBaseName;    // AB
    std::string configuration;  // C
    std::string installPath;    // I

    static BuildPaths of(const ProjectModel& project, const std::string& installPath);

    std::string projectLog() const;
    std::string installLog() const;
    std::string compiler() const;
    std::string desktopRuntime() const;
    std::string outputFolder() const;
    // Lower-cased (its last component) unless the configuration is PocketPC.
    std::string outputFile(const BuildFlags& flags) const;
    std::string windowsRuntimeCopy() const;
    std::string prcFile() const;
    std::string prcLog() const;
    std::string mainSource() const;
    std::string menuBarFile() const;
    std::string optionFile() const;
    std::string cBuildFolder() const;
    std::string cBuildScript() const;
    // The compiled input of the PRC step: the ".c" of an optimized build, else the ".vsm".
    std::string compiledInput(const BuildFlags& flags) const;
    std::string converterInput(const BuildFlags& flags) const;
};

// A path handed to a tool "lower-cased": its last component only, so that the
// folders the IDE created keep naming them on a case-sensitive file system.
std::string lowerLastComponent(const std::string& path);

}  // namespace varn
