// Run and debug on the main window: the Execute and Debug menus, the watch
// bar, the idle pass that polls the debugger link and watches the started
// program, breakpoints and the current statement in the source views, the
// variable dialog and value tips. The rules live in core's DebugControl.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <memory>

#include "debug/DebugHost.h"

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QTimer;
class QToolBar;

namespace varn {

class COutputControlBar;
class CVarnIdeView;
class CWatchControlBar;
class DebugControl;
class Debugger;
class DebuggerLink;
class DocumentManager;
class ProjectBuilder;
class SettingsStore;
class Ui;
class VARNWorkspaceManager;
class WatchPanes;
enum class DebugCommand;

class DebugCommands : public QObject, public DebugHost {
    Q_OBJECT
public:
    // The class name of the main window, handed to the runtime.
    static constexpr const char* kMainWindowClass = "VARNideMainFrame";

    DebugCommands(QMainWindow& window, DocumentManager& documents, VARNWorkspaceManager& workspace,
                  ProjectBuilder& builder, COutputControlBar& outputBar, SettingsStore& settings, Ui& ui);
    ~DebugCommands() override;

    // The Execute menu (Run, Debug, Breakpoint, Remove All Breakpoints) and
    // the Debug menu, which is shown only while debugging.
    // The menus go in front of `before` (null: at the end).
    void createActions(QMenuBar& bar, QAction* before, QToolBar& executeBar);
    QAction* action(DebugCommand id) const;
    QMenu* debugMenu() const { return debugMenu_; }
    QToolBar* debuggerToolBar() const { return debuggerBar_; }
    // The debugger's commands in the source view's context menu.
    std::vector<QAction*> contextActions() const;

    // A source view opens: its breakpoints, the value tips.
    void setupView(CVarnIdeView& v);
    // A project was opened or closed: the watch panes take its lists.
    void projectChanged(bool opened = false);
    void updateCommands(bool busy);
    // The watch bar and the run state.
    CWatchControlBar* watchBar() const { return watchBar_; }
    DebugControl& control() { return *control_; }
    DebuggerLink& link() { return *link_; }
    WatchPanes& panes() { return *panes_; }
    bool programWatched() const;
    // Ends a running or debugged program (the IDE is closing).
    void stopPrograms();

    // The variable dialog for a name (double-click, Display or Add Variable).
    void showVariable(const QString& name, bool watchMode);

    // DebugHost
    void clearBuildPane() override;
    void programOutput(const std::string& line) override;
    void openAtCurrentStatement(const std::string& path, int line0) override;
    std::vector<DocumentBreakpoints> openSourceBreakpoints() override;
    void toggleBreakpointAtCaret() override;
    void clearAllBreakpointFlags() override;
    std::optional<SourceCaret> activeSourceCaret() override;
    std::string expressionAtCaret() override;
    void switchLayout(bool debugMode) override;
    void bringToFront() override;
    void refreshWatchViews() override;

signals:
    // The run state changed: commands need their enabled state again.
    void stateChanged();

private:
    QAction* add(QMenu& menu, DebugCommand id, const QString& text, const QKeySequence& key,
                 std::function<void()> body);
    void afterCommand();
    void idlePass();
    void startIdle();
    void saveBreakpointsToProject();
    void showTip(CVarnIdeView& v, int position, int x, int y);
    bool activeIsSource() const;

    QMainWindow& window_;
    DocumentManager& documents_;
    VARNWorkspaceManager& workspace_;
    COutputControlBar& outputBar_;
    SettingsStore& settings_;
    Ui& ui_;
    std::unique_ptr<DebuggerLink> link_;
    std::unique_ptr<Debugger> debugger_;
    std::unique_ptr<WatchPanes> panes_;
    std::unique_ptr<DebugControl> control_;
    CWatchControlBar* watchBar_ = nullptr;
    QMenu* debugMenu_ = nullptr;
    QToolBar* debuggerBar_ = nullptr;
    QTimer* idle_ = nullptr;
    std::map<int, QAction*> actions_;
    bool closing_ = false;
    std::string shownProject_ = "\n";  // no project yet shown
};

}  // namespace varn
