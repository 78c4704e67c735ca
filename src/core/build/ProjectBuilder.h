// The build state of the main frame and the operations on it: compile, the
// batch compile of the command line, Make PRC, the out-of-date rule and the
// rebuild offer. Every failure is a message through the Ui; progress and logs
// go to the build pane through the BuildHost.
#pragma once

#include <string>
#include <vector>

#include "build/BuildPaths.h"

namespace varn {

class Ui;
class SettingsStore;
class BuildHost;
class VARNWorkspaceManager;

class ProjectBuilder {
public:
    static constexpr const char* kNoCompiler = "Could not locate the registered compiler (varn_c).";
    static constexpr const char* kNoProject =
        "There is no project to compile. Please open an existing project or create a new one.";
    static constexpr std::size_t kRuntimeCopyBuffer = 10240;
    static constexpr const char* kBadCreator =
        "The creator id %s is not valid; it must be at most 8 hexadecimal digits. Please enter one using the "
        "Project->Application Settings menu.";

    ProjectBuilder(VARNWorkspaceManager& workspace, Ui& ui, SettingsStore& settings, BuildHost& host,
                   std::string installPath);

    bool busy() const { return busy_; }
    bool buildFailed() const { return buildFailed_; }
    void setBuildFailed(bool f) { buildFailed_ = f; }
    const std::string& logCopyPath() const { return logCopyPath_; }
    // The project-wide "rebuild needed" flag; cleared by the out-of-date test.
    void setRebuildNeeded() { rebuildNeeded_ = true; }

    BuildFlags flags() const;
    BuildPaths paths() const;

    // When the Build menu's commands are enabled. `programWatched`: a run or
    // debug process of the program is being watched.
    bool canCompile(bool programWatched) const;
    bool canMakePrc() const;  // also "&PRC Install..."
    bool canVsmInstall() const;
    bool canPocketPCInstall() const;

    // The "&Compile" command: busy around a compile, then the symbol list is
    // reloaded. Refused while busy.
    void compileCommand();
    // One compile of the open project for the active configuration.
    void compileProject();
    // The compile of a batch build: the log copy is `logPath` (deleted first),
    // a PalmOS build goes on to Make PRC. Returns 0 on success.
    int batchCompile(const std::string& logPath);
    // Make PRC; `nonInteractive` is 1 from PRC Install (the dialog shows only
    // when the creator ID or the application name is empty).
    void makePrc(bool nonInteractive);

    // True when `outputPath` is older than the application file, an included
    // file or a form (or missing, or a rebuild was asked for).
    bool outOfDate(const std::string& outputPath);
    // Offers to rebuild an out-of-date output; the caller goes on only when
    // the build-failed flag is clear afterwards.
    void rebuildOffer(const std::string& outputPath);

    void setNoBitmapSegments(bool on) { noBitmapSegments_ = on; }
    std::string largeIconPath() const;

    // "C &Build": toggles the optimized build.
    void toggleOptimizedBuild();

private:
    bool logIsReadOnly(const std::string& path);
    bool runTool(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
                 bool hidden);
    // Reads a log into the build pane (and the log copy); false when it could not be opened.
    bool readLog(const std::string& path);

    VARNWorkspaceManager& workspace_;
    Ui& ui_;
    SettingsStore& settings_;
    BuildHost& host_;
    std::string installPath_;
    bool busy_ = false;
    bool buildFailed_ = false;
    bool noBitmapSegments_ = false;
    bool rebuildNeeded_ = false;
    std::string logCopyPath_;
};

}  // namespace varn
