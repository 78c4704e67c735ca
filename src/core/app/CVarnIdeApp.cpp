#include "app/CVarnIdeApp.h"

#include <cstdint>

#include "app/StartupHost.h"
#include "app/Ui.h"
#include "build/BuildLogReader.h"
#include "editor/ColouringSettings.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/BuildConfiguration.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

constexpr const char* kSettings = "Settings";
constexpr const char* kOptions = "Options";

std::string trimBlanks(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::string fontKey(const char* base, const char* slot) { return std::string(base) + "(" + slot + ")"; }

std::string installPathFrom(const SettingsStore& store) {
    return paths::toNative(store.getString("InstallInfo", "InstallPath"));
}

}  // namespace

CVarnIdeApp::CVarnIdeApp(Ui& ui, SettingsStore userSettings, SettingsStore machineSettings)
    : ui_(ui), settings_(std::move(userSettings)), machine_(std::move(machineSettings)),
      launchFolder_(fsys::currentDirectory()) {}

CVarnIdeApp::~CVarnIdeApp() = default;

std::string CVarnIdeApp::findInstallPath(const SettingsStore& user, const SettingsStore& machine,
                                         const std::string& executableFolder) {
    std::string path = installPathFrom(user);
    if (path.empty()) path = installPathFrom(machine);
    if (path.empty() && !executableFolder.empty()) {
        std::string beside = paths::normalize(paths::join(executableFolder, "../share/varn"));
        if (fsys::isDirectory(beside)) path = beside;
    }
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
}

std::string CVarnIdeApp::variableName(const std::string& text) {
    std::string name = trimBlanks(text.substr(0, text.find('=')));
    if (name.size() >= 7 && paths::equalNoCase(name.substr(0, 7), "string ")) name = trimBlanks(name.substr(7));
    else if (name.size() >= 8 && paths::equalNoCase(name.substr(0, 8), "numeric ")) name = trimBlanks(name.substr(8));
    return name;
}

void CVarnIdeApp::applyVariables(const std::vector<std::string>& variables, std::vector<std::string>& projectVars) {
    for (const auto& v : variables) {
        if (v.find('=') == std::string::npos) continue;
        std::string name = variableName(v);
        for (auto& entry : projectVars) {
            if (paths::equalNoCase(variableName(entry), name)) {
                entry = v;
                break;
            }
        }
    }
}

std::string CVarnIdeApp::fromLaunchFolder(const std::string& path) const {
    if (path.empty() || paths::isAbsolute(path)) return path;
    return paths::normalize(paths::join(launchFolder_, path));
}

void CVarnIdeApp::readSettings() {
    if (auto margin = settings_.getBinary(kOptions, "PageMargin"); margin && margin->size() == 16) {
        for (std::size_t i = 0; i < 4; ++i) {
            std::uint32_t v = 0;
            for (std::size_t b = 0; b < 4; ++b) v |= std::uint32_t((*margin)[i * 4 + b]) << (8 * b);
            pageMargin[i] = static_cast<int>(v);
        }
    }
    imgGridEnabled = settings_.getInt(kSettings, "ImgGridEnabled", 1) != 0;
    imgBrushSize = settings_.getInt(kSettings, "ImgBrushSize", 2);
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        fonts[i].faceName = settings_.getString(kSettings, fontKey("FontName", kFontSlots[i]), "Courier");
        fonts[i].size = settings_.getInt(kSettings, fontKey("FontSize", kFontSlots[i]), 10);
        fonts[i].weight = settings_.getInt(kSettings, fontKey("FontWeight", kFontSlots[i]), 400);
        fonts[i].italic = settings_.getInt(kSettings, fontKey("FontItalic", kFontSlots[i]), 0) != 0;
    }
    showAtStartup = settings_.getInt(kSettings, "ShowAtStartup", 1) != 0;
    currentTip = settings_.getInt(kSettings, "CurrentTip", 0);
    palmPilotInstallDir = settings_.getString(kSettings, "PalmPilotInstallDir");
    winCEInstallDir = settings_.getString(kSettings, "WinCEInstallDir");
    std::string current = settings_.getString(kSettings, "CurrentDirectory");
    if (!current.empty()) fsys::changeDirectory(paths::toNative(current));
}

bool CVarnIdeApp::initInstance(const std::vector<std::string>& args, StartupHost& host) {
    formSizeX = settings_.getInt(kSettings, "FormSizeX", 320);
    formSizeY = settings_.getInt(kSettings, "FormSizeY", 320);
    // The command line is read first: a file named on it goes to the IDE that already runs.
    cmdInfo_.parse(args);
    if (settings_.getInt(kSettings, "AllowMultipleIDE", 0) == 0 &&
        host.activateOtherInstance(fromLaunchFolder(cmdInfo_.fileName)))
        return false;

    normaliseColouring(settings_);
    readSettings();
    installPath_ = findInstallPath(settings_, machine_, fsys::executableFolder());
    if (installPath_.empty()) {
        ui_.error(kMissingInstall);
        return false;
    }

    workspace_ = std::make_unique<VARNWorkspaceManager>(ui_, settings_, symbols_, installPath_);
    workspace_->project().activeConfiguration = settings_.getString(kSettings, "Config");
    if (!host.createMainFrame(*workspace_)) return false;
    workspace_->setWindows(host.workspaceWindows());

    if (!openStartupProject(host)) return false;

    if (!cmdInfo_.isBatchBuild()) {
        host.showMainWindow(settings_.getInt(kSettings, "IsMaximized", 0) != 0, showAtStartup);
        return true;
    }
    runBatchBuild();
    return false;
}

bool CVarnIdeApp::openStartupProject(StartupHost& host) {
    const std::string defaultProject = paths::join(installPath_, kDefaultProject);
    // An interactive start that opens nothing saves the workspace as the
    // default project; a batch build never writes it and fails instead.
    const bool batch = cmdInfo_.isBatchBuild();
    auto fallBack = [&](const std::string& path) {
        if (batch) {
            unopenedProject_ = path;
            return;
        }
        workspace_->saveWorkspace(defaultProject);
    };
    auto openGiven = [&](const std::string& given) {
        std::string path = fromLaunchFolder(given);
        fsys::changeDirectory(paths::folderOf(path));
        if (!workspace_->openWorkspace(path, true, true)) fallBack(path);
    };

    if (paths::equalNoCase(paths::extension(cmdInfo_.fileName), "VPJ")) {
        std::string file = cmdInfo_.fileName;
        cmdInfo_.fileName.clear();
        openGiven(file);
        return true;
    }
    if (!cmdInfo_.projectPath.empty()) {
        openGiven(cmdInfo_.projectPath);
        return true;
    }
    if (!cmdInfo_.fileName.empty()) cmdInfo_.fileName = fromLaunchFolder(cmdInfo_.fileName);
    host.processShellCommand(cmdInfo_);
    if (settings_.getInt(kSettings, "RestoreLastActiveWorkspace", 1) != 0) workspace_->openRecent(false);
    if (!workspace_->currentWorkspaceName() && !workspace_->openWorkspace(defaultProject, true))
        fallBack(defaultProject);
    return true;
}

bool CVarnIdeApp::runBatchBuild() {
    auto configuration = batchBuildConfiguration(cmdInfo_.buildType);
    if (!configuration) {
        ui_.error("Invalid build type " + cmdInfo_.buildType + " specified.");
        return false;
    }
    std::string logPath = fromLaunchFolder(cmdInfo_.logPath);
    if (!unopenedProject_.empty()) {
        failUnopenedProject(logPath);
        return true;
    }
    ProjectModel& project = workspace_->project();
    project.setActiveConfiguration(*configuration);
    if (platformOf(*configuration) == TargetPlatform::Windows) cmdInfo_.buildInstaller = false;
    applyVariables(cmdInfo_.variables, project.projectVars);

    if (!batchCompile_) {
        ui_.notify("Nothing was compiled: this build of the IDE has no compiler driver.");
        return true;
    }
    int result = batchCompile_(*this, logPath);
    exitCode_ = result == 0 ? 0 : -1;
    // A failed installer build fails the batch build as a failed compile does.
    if (result == 0 && cmdInfo_.buildInstaller && batchInstaller_ && !batchInstaller_(*this, logPath)) exitCode_ = -1;
    return true;
}

void CVarnIdeApp::failUnopenedProject(const std::string& logPath) {
    const std::string message = "Unable to open the project " + unopenedProject_ + ".";
    exitCode_ = -1;
    ui_.error(message);
    if (logPath.empty()) return;
    // The log copy starts anew, as the compile's does.
    std::string real = fsys::resolveCase(logPath);
    if (fsys::exists(real)) (void)fsys::removeFile(real);
    BuildLogReader::appendToCopy(logPath, BuildLogReader::kBuildErrorHeader + message + "\n", ui_);
}

int CVarnIdeApp::exitInstance(StartupHost& host) {
    int tip = 0;
    bool showTip = true;
    if (host.tipState(tip, showTip)) {
        settings_.setInt(kSettings, "CurrentTip", tip);
        settings_.setInt(kSettings, "ShowAtStartup", showTip ? 1 : 0);
    }
    (void)saveSettings();
    return exitCode_;
}

Status CVarnIdeApp::saveSettings() {
    settings_.setString(kSettings, "CurrentDirectory", fsys::currentDirectory());
    std::vector<std::uint8_t> margin;
    for (int v : pageMargin)
        for (int b = 0; b < 4; ++b) margin.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * b)));
    settings_.setBinary(kOptions, "PageMargin", margin);
    settings_.setInt(kSettings, "ImgGridEnabled", imgGridEnabled ? 1 : 0);
    settings_.setInt(kSettings, "ImgBrushSize", imgBrushSize);
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        settings_.setString(kSettings, fontKey("FontName", kFontSlots[i]), fonts[i].faceName);
        settings_.setInt(kSettings, fontKey("FontSize", kFontSlots[i]), fonts[i].size);
        settings_.setInt(kSettings, fontKey("FontWeight", kFontSlots[i]), fonts[i].weight);
        settings_.setInt(kSettings, fontKey("FontItalic", kFontSlots[i]), fonts[i].italic ? 1 : 0);
    }
    return settings_.save();
}

}  // namespace varn
