// The installer build: turns the install settings of a project into the
// folder "<P>_<platform>_Install" beside the project file — the verified and
// copied dialog and group files, the install script, the setup program and
// runtime files of the IDE folder, and for PocketPC the CAB definition files,
// the cabinet wizard's run and the clean-up. Progress and errors go to the
// results text; each failing step also shows its error through the Ui.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "installer/InstallFiles.h"
#include "installer/InstallSettings.h"
#include "platform/Process.h"

namespace varn {

class Ui;
struct ProjectModel;

namespace install {

// The application icon update of a PocketPC build: writes the .ico's images
// into <installDirectory>/{ARM,MIPS,SH3}/<baseName>.exe and appends its
// WARNING and ERROR lines to `results`.
using IconUpdate = std::function<void(const std::string& icoPath, const std::string& installDirectory,
                                      const std::string& baseName, std::string& results)>;

// Starts the setup program (shell "open"): returns the shell's result, above
// 32 when the program started.
using ShellOpen = std::function<int(const std::string& program, const std::string& parameters,
                                    const std::string& workingFolder)>;

inline constexpr const char* kCabwizMissing =
    "Cabwiz was not found in the VARN install directory.\r\n\n"
    "Cabwiz can be found on the Microsoft site in the PocketPC SDK (PPC2002_SDK.exe)\r\n";
// A folder the build would write into or delete from is a symbolic link (%s: the folder).
inline constexpr const char* kLinkedFolder =
    "Could not use the folder:\r\n%s\r\nIt is a symbolic link; the installer build does not write through links.\r\n";
inline constexpr const char* kBuildingInstaller = "Building application installer...\n";

// The facts of the open project the installer build uses.
ProjectFacts projectFactsOf(const ProjectModel& project);

class InstallerBuild {
public:
    // `projectPath`: the project file; `ideDirectory`: the IDE's installation folder.
    InstallerBuild(ProjectFacts project, std::string projectPath, TargetPlatform platform, std::string ideDirectory,
                   Ui& ui);
    static InstallerBuild forProject(const ProjectModel& project, const std::string& ideDirectory, Ui& ui);

    // The icon update; by default updateSetupIcons over the install folder.
    void setIconUpdate(IconUpdate f) { iconUpdate_ = std::move(f); }
    // Called every 200 ms while a command runs.
    void setPump(std::function<void()> f) { pump_ = std::move(f); }
    // The command interpreter for the clean-up commands; by default the
    // environment's "comspec", and our own small interpreter when that is unset.
    void setComspec(std::optional<std::string> program) { comspec_ = std::move(program); }
    void setShellOpen(ShellOpen f) { shellOpen_ = std::move(f); }

    TargetPlatform platform() const { return platform_; }
    // "<project folder>/<P>_<platform>_Install".
    std::string installDirectory() const;
    const std::string& results() const { return results_; }

    // Runs the build steps in order, stopping at the first failing one;
    // true when "Build was successful." was appended.
    bool build(const InstallSettings& settings);

    // Opens the install folder's Setup.exe on its InstallScript.ini.
    bool testInstall();

private:
    bool verify(const InstallSettings& s);
    // Empties the install folder; false (with the message) when it is a link.
    bool prepareFolder();
    // False, with the message in the results, when the install folder or one
    // of its processor folders is a symbolic link.
    bool foldersAreReal();
    bool writeScript(const InstallSettings& s);
    bool copyCoreFiles(const InstallSettings& s);
    bool copyDialogFiles(const InstallSettings& s);
    bool copyGroup(const std::vector<std::string>& entries, const std::string& intoFolder, const char* message);
    bool writeCabFiles(const InstallSettings& s);
    void runCommand(const std::string& commandLine);

    // Appends `error` and `trailer` to the results and shows `error`; returns false.
    bool fail(const std::string& error, const char* trailer);
    // The native path of a stored entry: "\" separators allowed, relative
    // entries taken from the project folder.
    std::string sourcePath(const std::string& entry) const;
    std::string inInstall(const std::string& relative) const;
    std::string fromIde(const std::string& relative) const;

    ProjectFacts project_;
    std::string projectPath_;
    std::string projectFolder_;
    TargetPlatform platform_;
    std::string ideDirectory_;
    Ui& ui_;
    IconUpdate iconUpdate_;
    std::function<void()> pump_;
    std::optional<std::string> comspec_;
    ShellOpen shellOpen_;
    std::optional<Process> setupProcess_;
    std::string results_;
};

// The unattended installer build of a batch build: reads the settings of the
// active configuration's platform, builds without showing the sheet, appends
// "Building application installer...\n", the results and "\n" to the log
// copy (when its path is not empty) and saves the settings as OK would.
// Returns whether the build succeeded. An empty `iconUpdate` keeps the default.
bool runBatchInstaller(const ProjectModel& project, const std::string& ideDirectory, const std::string& logCopyPath,
                       Ui& ui, const IconUpdate& iconUpdate = {});

// Appends "Building application installer...\n", `results` and "\n" to the
// log copy; shows "Unable to open error log copy %s, error code is %d." when
// it cannot be opened. False when it could not be opened.
bool appendToLogCopy(const std::string& logCopyPath, const std::string& results, Ui& ui);

}  // namespace install
}  // namespace varn
