#include "build/ProjectBuilder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "app/Ui.h"
#include "build/BuildHost.h"
#include "build/BuildLogReader.h"
#include "build/OptionFile.h"
#include "build/ToolRunner.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "project/CreatorId.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

// Restores a flag when the scope ends, however the scope is left.
struct FlagScope {
    bool& flag;
    explicit FlagScope(bool& f) : flag(f) { flag = true; }
    ~FlagScope() { flag = false; }
};

void removeIfPresent(const std::string& path) {
    std::string real = fsys::resolveCase(path);
    if (fsys::exists(real)) (void)fsys::removeFile(real);
}

}  // namespace

ProjectBuilder::ProjectBuilder(VARNWorkspaceManager& workspace, Ui& ui, SettingsStore& settings, BuildHost& host,
                               std::string installPath)
    : workspace_(workspace), ui_(ui), settings_(settings), host_(host), installPath_(std::move(installPath)) {}

BuildFlags ProjectBuilder::flags() const {
    const ProjectModel& p = workspace_.project();
    return BuildFlags::classify(p.activeConfiguration, p.settings.optimizedBuild);
}

std::string ProjectBuilder::largeIconPath() const { return workspace_.project().tree.largeIconPath(); }

BuildPaths ProjectBuilder::paths() const { return BuildPaths::of(workspace_.project(), installPath_); }

bool ProjectBuilder::logIsReadOnly(const std::string& path) {
    std::string real = fsys::resolveCase(path);
    if (!fsys::exists(real) || !fsys::isReadOnly(real)) return false;
    ui_.error("The file " + path + " can not be saved because it is marked read-only.\n\nThe build operation has been canceled.");
    return true;
}

bool ProjectBuilder::runTool(const std::string& program, const std::vector<std::string>& args,
                             const std::string& folder, bool hidden) {
    ToolRun run = ToolRunner::run(program, args, folder, hidden, true, [this] { host_.pump(); });
    return run.started;
}

bool ProjectBuilder::readLog(const std::string& path) {
    BuildLogResult r = BuildLogReader::read(path, logCopyPath_, ui_, buildFailed_);
    if (r.opened) buildFailed_ = r.buildFailed;
    host_.showBuildLog(r);
    return r.opened;
}

bool ProjectBuilder::canCompile(bool programWatched) const {
    return !busy_ && !workspace_.project().tree.applicationPath().empty() && !programWatched;
}

bool ProjectBuilder::canMakePrc() const {
    return !busy_ && workspace_.currentWorkspaceName().has_value() && flags().palmOSFlavour;
}

bool ProjectBuilder::canVsmInstall() const { return canMakePrc() && !flags().optimizedBuild; }

bool ProjectBuilder::canPocketPCInstall() const {
    return !busy_ && workspace_.currentWorkspaceName().has_value() && flags().pocketPC;
}

void ProjectBuilder::compileCommand() {
    if (busy_) return;
    FlagScope busy(busy_);
    compileProject();
    workspace_.loadSymbolList();
}

void ProjectBuilder::compileProject() {
    WaitCursor wait(ui_);
    const BuildFlags f = flags();
    const BuildPaths p = paths();
    buildFailed_ = true;
    if (logIsReadOnly(p.projectLog()) || logIsReadOnly(p.installLog())) return;

    host_.showBuildText({});
    host_.buildStarted();
    if (!fsys::exists(p.compiler())) {
        ui_.error(kNoCompiler);
        return;
    }
    if (workspace_.project().tree.applicationPath().empty()) {
        ui_.error(kNoProject);
        return;
    }
    host_.saveDocuments(settings_.getInt("Settings", "ConfirmAutoSave", 0) != 0, true);

    removeIfPresent(p.outputFile(f));
    if (f.palm) removeIfPresent(p.prcFile());

    (void)fsys::createFolders(p.outputFolder());
    OptionFile::Output options = OptionFile::build(workspace_.project(), p, f, noBitmapSegments_);
    std::string text;
    text.reserve(options.text.size() + options.text.size() / 16);
    for (char c : options.text) {
        if (c == '\n') text += '\r';
        text += c;
    }
    Status written = fsys::writeFileAtomic(p.optionFile(), text);
    if (!written) {
        ui_.error("Unable to create compiler option file " + p.optionFile() + ", error code is " +
                  std::to_string(written.error().code) + ".");
        return;
    }
    if (options.emptyCreator) {
        ui_.error(OptionFile::kEmptyCreator);
        return;
    }
    removeIfPresent(p.projectLog());
    removeIfPresent(p.installLog());

    runTool(p.compiler(), {p.optionFile()}, p.projectFolder, true);

    if (!readLog(p.projectLog())) {
        host_.showBuildText({});
        readLog(p.installLog());
    }

    if (f.windows && !buildFailed_) {
        std::string copy = p.windowsRuntimeCopy();
        std::string runtime = fsys::resolveCase(p.desktopRuntime());
        if (!fsys::exists(fsys::resolveCase(copy)) && fsys::exists(runtime))
            (void)fsys::copyFile(runtime, copy, kRuntimeCopyBuffer);
    }
    host_.focusClientArea();
}

int ProjectBuilder::batchCompile(const std::string& logPath) {
    logCopyPath_ = logPath;
    if (!logPath.empty()) removeIfPresent(logPath);
    compileCommand();
    if (!buildFailed_ && flags().palmOSFlavour) makePrc(false);
    return buildFailed_ ? 1 : 0;
}

bool ProjectBuilder::outOfDate(const std::string& outputPath) {
    if (rebuildNeeded_) {
        rebuildNeeded_ = false;
        return true;
    }
    std::string output = fsys::resolveCase(outputPath);
    if (!fsys::exists(output)) return true;
    std::time_t built = fsys::modificationTime(output);
    const ProjectTree& tree = workspace_.project().tree;
    for (const auto& r : tree.records()) {
        if (r.kind != ItemKind::Application && r.kind != ItemKind::Include && r.kind != ItemKind::Form) continue;
        if (fsys::modificationTime(r.path) > built) return true;
    }
    return false;
}

void ProjectBuilder::rebuildOffer(const std::string& outputPath) {
    buildFailed_ = false;
    host_.saveDocuments(settings_.getInt("Settings", "ConfirmAutoSave", 0) != 0, false);
    if (!outOfDate(outputPath)) return;
    if (settings_.getInt("Settings", "ConfirmAutoBuild", 0) == 0 ||
        ui_.askYesNo("The project " + paths::baseName(outputPath) +
                     " is out of date. Would you like to rebuild it?")) {
        compileCommand();
    }
}

void ProjectBuilder::toggleOptimizedBuild() {
    ProjectModel& p = workspace_.project();
    p.settings.optimizedBuild = !p.settings.optimizedBuild;
    p.modified = true;
}

void ProjectBuilder::makePrc(bool nonInteractive) {
    if (busy_) return;
    const BuildPaths p = paths();
    if (logIsReadOnly(p.prcLog())) return;
    busy_ = true;
    {
        WaitCursor wait(ui_);
        host_.showBuildText({});
        BuildFlags f = flags();
        buildFailed_ = false;
        host_.saveDocuments(settings_.getInt("Settings", "ConfirmAutoSave", 0) != 0, false);
        if (outOfDate(p.compiledInput(f))) {
            busy_ = false;
            rebuildOffer(p.compiledInput(f));
            busy_ = true;
        }
        f = flags();
        const ProjectSettings& st = workspace_.project().settings;
        if (f.optimizedBuild && !fsys::exists(fsys::resolveCase(p.cBuildScript()))) {
            host_.showBuildText("Can not find " + lowerLastComponent(p.cBuildFolder()) + "/");
            buildFailed_ = true;
        }
        if (!buildFailed_ && (!nonInteractive || st.creatorID.empty() || st.desktopName.empty()) &&
            !host_.confirmApplicationSettings())
            buildFailed_ = true;
        if (!buildFailed_ && !creator::isStoredForm(st.creatorID)) {
            // The ID goes to the converter as "0x" + digits; anything else is refused here.
            std::string text = kBadCreator;
            ui_.error(text.replace(text.find("%s"), 2, st.creatorID));
            buildFailed_ = true;
        }
        if (!buildFailed_) {
            if (f.optimizedBuild) {
                host_.showBuildText("Compiling c_build code, please wait...");
                bool shown = settings_.getInt("Settings", "ShowCBuildWindow", 1) != 0;
                runTool(p.cBuildScript(), {lowerLastComponent(p.cBuildFolder()) + "/", paths::lower(p.baseName)},
                        p.outputFolder(), !shown);
            }
            // Named as the project names it: the converter finds the file without
            // regard to case and names the PRC after the name it was given.
            std::vector<std::string> args = {p.converterInput(f),
                                             "0x" + st.creatorID,
                                             "-n",
                                             st.desktopName,
                                             "-v",
                                             f.optimizedBuild ? st.prcVersion : std::string(),
                                             "-t",
                                             st.prcType,
                                             "-b",
                                             st.disableBeamApplication ? "no" : "yes",
                                             "-bak",
                                             st.enableApplicationBackup ? "yes" : "no"};
            if (auto icon = workspace_.project().tree.largeIconPath(); !icon.empty()) {
                args.push_back("-i");
                args.push_back(icon);
            }
            if (f.optimizedBuild) args.push_back("-gcc");
            runTool(paths::join(installPath_, "VARNprc.exe"), args, p.outputFolder(), true);
            readLog(p.prcLog());
            removeIfPresent(p.prcLog());
        }
        host_.focusClientArea();
    }
    busy_ = false;
}

}  // namespace varn
