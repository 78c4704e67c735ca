// The IDE's main window: the menus, the "File" and "Execute" toolbars with
// the build configuration box, the "Project Workspace" and "Output Window"
// bars, the document windows in an MDI area and the status bar with its busy
// indicator. It owns the build state (core's ProjectBuilder) and runs the
// project and Build menu commands through core.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/CVarnIdeApp.h"
#include "platform/Process.h"

class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QToolBar;

namespace varn {

class COutputControlBar;
class DocumentJournal;
class DocumentManager;
class DebugCommands;
class ImageCommands;
class FormCommands;
class SourceEditorCommands;
class VARNTipOfDay;
class WindowState;
class WorkspaceWindows;
class CProjectBar;
class DeviceInstall;
class DocumentWindows;
class FormDialogCommands;
class FolderHotSyncInstaller;
class GuiBuildHost;
class HotSyncInstaller;
class ProjectBuilder;
class ProjectCommands;
class SettingsStore;
class Ui;
class VARNWorkspaceManager;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Command ids of the Build menu.
    static constexpr int ID_BUILD_COMPILE = 32829;
    static constexpr int ID_BUILD_CBUILD = 32901;
    static constexpr int ID_BUILD_MAKEPRC = 32782;
    static constexpr int ID_BUILD_PRCINSTALL = 32781;
    static constexpr int ID_BUILD_VSMINSTALL = 32779;
    static constexpr int ID_BUILD_POCKETPCINSTALL = 32890;

    CMainFrame(VARNWorkspaceManager& workspace, Ui& ui, SettingsStore& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    VARNWorkspaceManager& workspace() { return workspace_; }
    ProjectBuilder& builder() { return *builder_; }
    ProjectCommands& commands() { return *commands_; }
    DocumentWindows& documents();
    DocumentManager& documentManager() { return *documents_; }
    GuiBuildHost& buildHost() { return *buildHost_; }
    CProjectBar* projectBar() const { return projectBar_; }
    SourceEditorCommands& editorCommands() { return *editor_; }
    FormDialogCommands& formDialogs() { return *formDialogs_; }
    DebugCommands& debugCommands() { return *debug_; }
    ImageCommands& imageCommands() { return *images_; }
    FormCommands& formCommands() { return *form_; }
    COutputControlBar* outputBar() const { return outputBar_; }
    QMdiArea* mdiArea() const { return mdi_; }
    QComboBox* configurationBox() const { return configBox_; }
    QProgressBar* busyIndicator() const { return busyIndicator_; }
    QToolBar* fileToolBar() const { return fileBar_; }
    QToolBar* executeToolBar() const { return executeBar_; }
    // A menu of the menu bar by its title without "&" ("File", "Build", ...).
    QMenu* menu(const QString& title) const;
    // The action of a command id (Build menu); null for an unknown id.
    QAction* action(int id) const;

    // The application whose font table and process values the IDE settings
    // change (without one the frame keeps its own table).
    void setApplication(CVarnIdeApp* app);
    std::array<WindowFont, 4>& fonts();
    // Tools menu: "IDE Settings...", "Customize..." and the user tools.
    void showIdeSettings();
    // Writes the IDE settings to disk now (after a settings dialog's OK).
    void saveSettings();
    void customizeTools();
    void fillToolsMenu();
    const QList<QAction*>& userToolActions() const { return userToolActions_; }

    // The fonts of the window kinds ("Build Window" for the output panes,
    // "Project Tree" for the project bar).
    void setWindowFonts(const std::array<WindowFont, 4>& fonts);
    // Replaces the HotSync install library (tests use their own).
    void setHotSyncInstaller(std::unique_ptr<HotSyncInstaller> installer);
    // Whether a run or debug process is being watched; by default the idle
    // process watch tells.
    void setProgramWatched(std::function<bool()> f) { programWatched_ = std::move(f); }
    // Keeps copies of the modified documents for recovery after a crash (the
    // interactive IDE has one; without it nothing is journalled).
    void setDocumentJournal(DocumentJournal* journal);
    DocumentJournal* documentJournal() const;
    // The window state the workspace manager saves into and restores from projects.
    WindowState& windowState() { return *windowState_; }

    // The tip of the day (Help "Tip of the Day..."): a window already open
    // stores its state in the settings and makes way for a new one.
    void showTipOfDay();
    VARNTipOfDay* tipOfDay() const { return tipOfDay_; }
    // The tip window's state when one was created during this run.
    bool tipState(int& currentTip, bool& showAtStartup) const;

    // Makes `name` the active build configuration; the box shows it.
    void setActiveConfiguration(const std::string& name);
    // Brings every command's enabled and checked state up to date.
    void updateCommands();
    bool commandEnabled(int id) const;
    // File "Open...": opens a file in the document of its template (by its
    // extension), asking for files when `path` is empty.
    bool openDocument(const std::string& path = {});
    // A file handed over by the shell (the command line, or a later start of
    // the IDE): a project file opens as the project, any other as a document.
    bool openFromShell(const std::string& path);
    // Opens a file at a line (from 0) with the error marker: the build pane's jump.
    bool openAtLine(const std::string& path, int line);
    // The workbook (tabbed documents) view of the document area.
    void setWorkbookMode(bool on);
    bool workbookMode() const;

    // The Build menu commands.
    void onCompile();
    void onCBuild();
    void onMakePrc();
    void onPrcInstall();
    void onVsmInstall();
    void onPocketPCInstall();

signals:
    // A build command started or ended.
    void busyChanged(bool busy);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void runProjectSettings();
    void runApplicationSettings();
    class TreeWatch;

    void createMenusAndBars();
    QAction* addCommand(QMenu* menu, const QString& text, int id, const QKeySequence& key, void (CMainFrame::*slot)());
    void wireProjectBar();
    void runBuildCommand(int id, const std::function<void()>& body);
    void setBusyShown(bool on, const QString& what);
    void projectChanged();
    bool busy() const;

    VARNWorkspaceManager& workspace_;
    Ui& ui_;
    SettingsStore& settings_;

    QMdiArea* mdi_ = nullptr;
    CProjectBar* projectBar_ = nullptr;
    COutputControlBar* outputBar_ = nullptr;
    QToolBar* fileBar_ = nullptr;
    QToolBar* executeBar_ = nullptr;
    QComboBox* configBox_ = nullptr;
    QProgressBar* busyIndicator_ = nullptr;
    QLabel* busyLabel_ = nullptr;
    std::map<int, QAction*> commandActions_;
    QAction* workbookAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* v2Action_ = nullptr;
    QAction* optimizedAction_ = nullptr;
    QList<QAction*> projectFileActions_;  // change the project; not while a tool runs

    std::unique_ptr<DocumentManager> documents_;
    std::unique_ptr<ProjectCommands> commands_;
    std::unique_ptr<GuiBuildHost> buildHost_;
    std::unique_ptr<ProjectBuilder> builder_;
    std::unique_ptr<HotSyncInstaller> hotSync_;
    std::unique_ptr<DeviceInstall> install_;
    std::unique_ptr<TreeWatch> treeWatch_;
    std::unique_ptr<WindowState> windowState_;
    FormDialogCommands* formDialogs_ = nullptr;
    SourceEditorCommands* editor_ = nullptr;
    DebugCommands* debug_ = nullptr;
    ImageCommands* images_ = nullptr;
    FormCommands* form_ = nullptr;
    CVarnIdeApp* app_ = nullptr;
    std::array<WindowFont, 4> fonts_;
    QAction* toolsSeparator_ = nullptr;
    QList<QAction*> userToolActions_;
    std::vector<Process> startedTools_;
    VARNTipOfDay* tipOfDay_ = nullptr;
    QPointer<DocumentJournal> journal_;
    std::function<bool()> programWatched_;
    bool commandRunning_ = false;
    bool closePending_ = false;
};

}  // namespace varn
