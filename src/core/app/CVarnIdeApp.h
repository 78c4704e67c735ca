// The process: start-up (settings, installation folder, command line, the
// project to open, the batch build) and shutdown (settings written back, exit
// code). The window layer plugs in through StartupHost.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CVarnCommandLineInfo.h"
#include "platform/SettingsStore.h"
#include "project/SymbolList.h"

namespace varn {

class Ui;
class StartupHost;
class VARNWorkspaceManager;

struct WindowFont {
    std::string faceName = "Courier";
    int size = 10;
    int weight = 400;
    bool italic = false;
};

class CVarnIdeApp {
public:
    static constexpr const char* kAppName = "VARNide43";
    static constexpr const char* kDefaultProject = "VARNide.vpj";
    static constexpr const char* kMissingInstall =
        "Unable to locate the VARN install path.\nPlease make sure VARN 4.3 is installed.";
    static constexpr std::array<const char*, 4> kFontSlots = {"Editor Window", "Build Window", "Project Tree",
                                                              "Watch Window"};

    // The compile of a batch build: returns 0 on success. Until the build
    // pipeline is wired in, start-up ends after applying the variables.
    using BatchCompile = std::function<int(CVarnIdeApp&, const std::string& logPath)>;
    // The installer build after a clean batch compile: true when it succeeded.
    using BatchInstaller = std::function<bool(CVarnIdeApp&, const std::string& logPath)>;

    CVarnIdeApp(Ui& ui, SettingsStore userSettings, SettingsStore machineSettings);
    ~CVarnIdeApp();

    // The folder relative command-line paths are taken against (the process's
    // working folder at launch, before start-up changes it).
    void setLaunchFolder(std::string folder) { launchFolder_ = std::move(folder); }
    void setBatchCompile(BatchCompile f) { batchCompile_ = std::move(f); }
    void setBatchInstaller(BatchInstaller f) { batchInstaller_ = std::move(f); }

    // True: run the interactive loop. False: end the process with exitInstance().
    bool initInstance(const std::vector<std::string>& args, StartupHost& host);
    // Writes the settings back and returns the exit code.
    int exitInstance(StartupHost& host);
    // Writes the process values (current folder, margins, image settings,
    // fonts) into the settings and the settings to disk: at exit, and when a
    // settings dialog is confirmed, so a crash loses none of its changes.
    Status saveSettings();

    // The installation folder from the settings stores or beside the program.
    static std::string findInstallPath(const SettingsStore& user, const SettingsStore& machine,
                                       const std::string& executableFolder);
    // Applies "name=value" command-line assignments to the project variables.
    static void applyVariables(const std::vector<std::string>& variables, std::vector<std::string>& projectVars);
    // The name part of a project-variable text: before the first "=", trimmed,
    // without a leading "string " or "numeric ".
    static std::string variableName(const std::string& text);

    Ui& ui() { return ui_; }
    SettingsStore& settings() { return settings_; }
    const std::string& installPath() const { return installPath_; }
    const CVarnCommandLineInfo& commandLine() const { return cmdInfo_; }
    VARNWorkspaceManager* workspace() { return workspace_.get(); }
    SymbolList& symbols() { return symbols_; }
    int exitCode() const { return exitCode_; }
    void setExitCode(int code) { exitCode_ = code; }

    // Process-wide settings read at start-up.
    int formSizeX = 320;
    int formSizeY = 320;
    std::array<int, 4> pageMargin = {720, 720, 720, 720};
    bool imgGridEnabled = true;
    int imgBrushSize = 2;
    std::array<WindowFont, 4> fonts;
    bool showAtStartup = true;
    int currentTip = 0;
    std::string palmPilotInstallDir;
    std::string winCEInstallDir;

private:
    void readSettings();
    bool openStartupProject(StartupHost& host);
    bool runBatchBuild();
    std::string fromLaunchFolder(const std::string& path) const;
    // A batch build whose project could not be opened: the message on
    // standard error (through the Ui) and in a new log copy; exit code -1.
    void failUnopenedProject(const std::string& logPath);

    Ui& ui_;
    SettingsStore settings_;
    SettingsStore machine_;
    SymbolList symbols_;
    std::unique_ptr<VARNWorkspaceManager> workspace_;
    CVarnCommandLineInfo cmdInfo_;
    std::string installPath_;
    std::string launchFolder_;
    BatchCompile batchCompile_;
    BatchInstaller batchInstaller_;
    int exitCode_ = 0;
    // The project a batch build was to open but could not (empty: none failed).
    std::string unopenedProject_;
};

}  // namespace varn
