#include "debug/DebugCommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QStyle>
#include <QToolTip>

#include "app/DocumentManager.h"
#include "app/Ui.h"
#include "build/COutputControlBar.h"
#include "debug/CDisplayVariable.h"
#include "debug/CWatchControlBar.h"
#include "debug/DebugControl.h"
#include "debug/Debugger.h"
#include "debug/DebuggerLink.h"
#include "debug/ValueTip.h"
#include "debug/WatchPanes.h"
#include "editor/CVarnIdeView.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

constexpr int kIdlePassMs = 20;
constexpr int kDwellMs = 600;

}  // namespace

DebugCommands::DebugCommands(QMainWindow& window, DocumentManager& documents, VARNWorkspaceManager& workspace,
                             ProjectBuilder& builder, COutputControlBar& outputBar, SettingsStore& settings, Ui& ui)
    : QObject(&window),
      window_(window),
      documents_(documents),
      workspace_(workspace),
      outputBar_(outputBar),
      settings_(settings),
      ui_(ui),
      link_(std::make_unique<DebuggerLink>()),
      debugger_(std::make_unique<Debugger>(workspace.project().breakpoints)),
      panes_(std::make_unique<WatchPanes>()) {
    // The link's pipes are made once and serve every debugging run.
    link_->openIde(ui_);
    control_ = std::make_unique<DebugControl>(DebugContext{workspace_, builder, *link_, *debugger_, *panes_, *this, ui_,
                                                           settings_, workspace_.installPath(), kMainWindowClass});
    watchBar_ = new CWatchControlBar(*panes_, &window_);
    window_.addDockWidget(Qt::BottomDockWidgetArea, watchBar_);
    watchBar_->hide();
    connect(watchBar_, &CWatchControlBar::variableActivated, this, [this](const QString& name) {
        if (control_->checkItemDoubleClick()) showVariable(name, false);
    });
    connect(watchBar_, &CWatchControlBar::watchListsChanged, this, [this] {
        workspace_.project().watchLists = panes_->watchLists();
    });
    connect(watchBar_, &CWatchControlBar::watchAdded, this, [this](int pane) {
        if (control_->debugMode() && control_->stopped()) control_->refreshPane(pane);
    });
    idle_ = new QTimer(this);
    idle_->setInterval(kIdlePassMs);
    connect(idle_, &QTimer::timeout, this, &DebugCommands::idlePass);
    projectChanged();
}

DebugCommands::~DebugCommands() {
    // The windows may be gone already: nothing is shown any more. A stopped
    // program is told to quit; a running one ends when the link closes.
    closing_ = true;
    if (control_->debugMode() && control_->stopped()) control_->quitDebugger();
    control_.reset();
}

QAction* DebugCommands::add(QMenu& menu, DebugCommand id, const QString& text, const QKeySequence& key,
                            std::function<void()> body) {
    QAction* a = menu.addAction(text);
    a->setData(static_cast<int>(id));
    a->setObjectName(QStringLiteral("ID_%1").arg(static_cast<int>(id)));
    a->setShortcut(key);
    // Shortcuts work while the Debug menu is hidden.
    window_.addAction(a);
    connect(a, &QAction::triggered, this, [this, body = std::move(body)] {
        body();
        afterCommand();
    });
    actions_[static_cast<int>(id)] = a;
    return a;
}

void DebugCommands::createActions(QMenuBar& bar, QAction* before, QToolBar& executeBar) {
    auto* execute = new QMenu(tr("E&xecute"), &bar);
    bar.insertMenu(before, execute);
    QAction* run = add(*execute, DebugCommand::Run, QStringLiteral("&Run"), QKeySequence(Qt::CTRL | Qt::Key_F5),
                       [this] { control_->run(); });
    QAction* debug = add(*execute, DebugCommand::Debug, QStringLiteral("&Debug"), QKeySequence(Qt::Key_F5),
                         [this] { control_->debug(); });
    execute->addSeparator();
    add(*execute, DebugCommand::Breakpoint, QStringLiteral("&Breakpoint"), QKeySequence(Qt::Key_F9),
        [this] { control_->toggleBreakpoint(); saveBreakpointsToProject(); });
    add(*execute, DebugCommand::RemoveAllBreakpoints, QStringLiteral("&Remove All Breakpoints"),
        QKeySequence(Qt::CTRL | Qt::Key_F9), [this] { control_->removeAllBreakpoints(); saveBreakpointsToProject(); });
    run->setIcon(QIcon::fromTheme(QStringLiteral("media-playback-start"), window_.style()->standardIcon(QStyle::SP_MediaPlay)));
    debug->setIcon(QIcon::fromTheme(QStringLiteral("debug-run"), window_.style()->standardIcon(QStyle::SP_MediaSeekForward)));
    executeBar.addAction(run);
    executeBar.addAction(debug);

    debugMenu_ = new QMenu(tr("&Debug"), &bar);
    bar.insertMenu(before, debugMenu_);
    add(*debugMenu_, DebugCommand::Step, QStringLiteral("&Step"), QKeySequence(Qt::Key_F11), [this] { control_->step(); });
    add(*debugMenu_, DebugCommand::StepOver, QStringLiteral("Step &Over"), QKeySequence(Qt::Key_F10),
        [this] { control_->stepOver(); });
    add(*debugMenu_, DebugCommand::RunToCursor, QStringLiteral("Run To &Cursor"), QKeySequence(Qt::CTRL | Qt::Key_F10),
        [this] { control_->runToCursor(); });
    add(*debugMenu_, DebugCommand::Resume, QStringLiteral("&Resume"), QKeySequence(Qt::Key_F5), [this] { control_->resume(); });
    add(*debugMenu_, DebugCommand::QuitDebugger, QStringLiteral("&Quit Debugger"), QKeySequence(Qt::SHIFT | Qt::Key_F5),
        [this] { control_->quitDebugger(); });
    add(*debugMenu_, DebugCommand::ShowNextStatement, QStringLiteral("S&how Next Statement"),
        QKeySequence(QKeyCombination(Qt::AltModifier | Qt::KeypadModifier, Qt::Key_Asterisk)), [this] { control_->showNextStatement(); });
    debugMenu_->addSeparator();
    add(*debugMenu_, DebugCommand::DisplayVariable, QStringLiteral("&Display Variable"), QKeySequence(Qt::SHIFT | Qt::Key_F9),
        [this] {
            if (control_->checkVariableCommand()) showVariable(QString::fromStdString(expressionAtCaret()), false);
        });
    add(*debugMenu_, DebugCommand::AddVariable, QStringLiteral("&Add Variable"), QKeySequence(Qt::ALT | Qt::Key_F9), [this] {
        if (control_->checkVariableCommand()) showVariable(QString::fromStdString(expressionAtCaret()), true);
    });
    debugMenu_->addSeparator();
    add(*debugMenu_, DebugCommand::BreakpointAlt, QStringLiteral("&Breakpoint"), {},
        [this] { control_->toggleBreakpoint(); saveBreakpointsToProject(); });
    add(*debugMenu_, DebugCommand::RemoveAllBreakpointsAlt, QStringLiteral("&Remove All Breakpoints"), {},
        [this] { control_->removeAllBreakpoints(); saveBreakpointsToProject(); });
    debugMenu_->menuAction()->setVisible(false);

    // The "Debugger" toolbar: the stepping commands, enabled as their menu entries.
    debuggerBar_ = window_.addToolBar(QStringLiteral("Debugger"));
    debuggerBar_->setObjectName(QStringLiteral("DebuggerToolBar"));
    const std::pair<DebugCommand, QStyle::StandardPixmap> buttons[] = {
        {DebugCommand::Resume, QStyle::SP_MediaPlay},         {DebugCommand::Step, QStyle::SP_ArrowDown},
        {DebugCommand::StepOver, QStyle::SP_ArrowForward},    {DebugCommand::RunToCursor, QStyle::SP_MediaSkipForward},
        {DebugCommand::QuitDebugger, QStyle::SP_MediaStop},   {DebugCommand::ShowNextStatement, QStyle::SP_ArrowRight},
    };
    for (const auto& [id, icon] : buttons) {
        QAction* a = action(id);
        if (a->icon().isNull()) a->setIcon(window_.style()->standardIcon(icon));
        debuggerBar_->addAction(a);
    }
}

QAction* DebugCommands::action(DebugCommand id) const {
    auto it = actions_.find(static_cast<int>(id));
    return it == actions_.end() ? nullptr : it->second;
}

std::vector<QAction*> DebugCommands::contextActions() const {
    return {action(DebugCommand::DisplayVariable), action(DebugCommand::AddVariable), action(DebugCommand::Breakpoint),
            action(DebugCommand::RemoveAllBreakpoints)};
}

bool DebugCommands::activeIsSource() const {
    CVarnIdeView* v = documents_.activeView();
    return v && v->editable();
}

void DebugCommands::updateCommands(bool busy) {
    for (auto& [id, a] : actions_) {
        const auto command = static_cast<DebugCommand>(id);
        const bool starts = command == DebugCommand::Run || command == DebugCommand::Debug;
        a->setEnabled(!(starts && busy) && control_->enabled(command, activeIsSource()));
    }
}

bool DebugCommands::programWatched() const { return control_->programWatched(); }

void DebugCommands::afterCommand() {
    if (control_->programWatched()) startIdle();
    emit stateChanged();
}

void DebugCommands::startIdle() {
    if (!idle_->isActive()) idle_->start();
}

// One idle pass; passes follow at once while the link has messages. The
// commands are brought up to date only when a pass changed something.
void DebugCommands::idlePass() {
    bool changed = false;
    for (int i = 0; i < 64 && control_->idle(); ++i) changed = true;
    if (!control_->programWatched()) {
        idle_->stop();
        changed = true;
    }
    if (changed) emit stateChanged();
}

void DebugCommands::stopPrograms() {
    if (!control_ || !control_->programWatched()) return;
    if (control_->debugMode() && control_->stopped()) control_->quitDebugger();
    control_->idle();
}

void DebugCommands::setupView(CVarnIdeView& v) {
    for (int line : control_->breakpointLinesFor(v.path())) v.setLineFlag(line - 1, CVarnIdeView::kBreakpoint, true);
    v.SendScintilla(QsciScintilla::SCI_SETMOUSEDWELLTIME, static_cast<unsigned long>(kDwellMs));
    connect(&v, &QsciScintilla::SCN_DWELLSTART, this,
            [this, &v](int position, int x, int y) { showTip(v, position, x, y); });
    connect(&v, &QsciScintilla::SCN_DWELLEND, this, [] { QToolTip::hideText(); });
    // Breakpoints move with the lines around them; the project keeps where they are now.
    connect(&v, &QsciScintilla::linesChanged, this, [this, &v] {
        if (!v.linesWithFlag(CVarnIdeView::kBreakpoint).empty()) debugger_->rebuildFrom(openSourceBreakpoints());
    });
}

void DebugCommands::showTip(CVarnIdeView& v, int position, int x, int y) {
    if (position < 0 || !control_->debugMode() || !control_->stopped()) return;
    const int line = static_cast<int>(v.SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
    const long start = v.SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    auto tip = control_->valueTip(v.lineText(line), static_cast<std::size_t>(position - start));
    if (tip) QToolTip::showText(v.viewport()->mapToGlobal(QPoint(x, y)), QString::fromStdString(*tip), &v);
}

void DebugCommands::projectChanged(bool opened) {
    // The tree also changes when files are added; the lists follow the project file.
    if (!opened && workspace_.project().projectPath == shownProject_) return;
    shownProject_ = workspace_.project().projectPath;
    panes_->loadWatchLists(workspace_.project().watchLists);
    panes_->clearLocals();
    watchBar_->refresh();
}

void DebugCommands::saveBreakpointsToProject() {
    debugger_->rebuildFrom(openSourceBreakpoints());
    workspace_.project().modified = true;
}

void DebugCommands::showVariable(const QString& name, bool watchMode) {
    CDisplayVariable dlg(*control_, watchMode ? DebugControl::VariableMode::Watch : DebugControl::VariableMode::Display,
                         name, &window_);
    dlg.exec();
    workspace_.project().watchLists = panes_->watchLists();
    watchBar_->refresh();
}

// DebugHost

void DebugCommands::clearBuildPane() {
    if (!closing_) outputBar_.showBuildText({});
}

void DebugCommands::programOutput(const std::string& line) {
    if (!closing_) outputBar_.appendBuildLine(QString::fromStdString(line));
}

void DebugCommands::openAtCurrentStatement(const std::string& path, int line0) {
    if (closing_) return;
    for (CVarnIdeView* v : documents_.views()) v->setCurrentStatementLine(-1);
    documents_.openAtStatement(path, line0);
}

std::vector<DocumentBreakpoints> DebugCommands::openSourceBreakpoints() {
    std::vector<DocumentBreakpoints> out;
    for (CVarnIdeView* v : documents_.views()) {
        if (!v->editable() || v->doc().untitled) continue;
        DocumentBreakpoints d{v->path(), {}};
        for (int line : v->linesWithFlag(CVarnIdeView::kBreakpoint)) d.lines.push_back(line + 1);
        out.push_back(std::move(d));
    }
    return out;
}

void DebugCommands::toggleBreakpointAtCaret() {
    if (CVarnIdeView* v = documents_.activeView()) v->toggleBreakpoint();
}

void DebugCommands::clearAllBreakpointFlags() {
    for (CVarnIdeView* v : documents_.views())
        for (int line : v->linesWithFlag(CVarnIdeView::kBreakpoint)) v->setLineFlag(line, CVarnIdeView::kBreakpoint, false);
}

std::optional<SourceCaret> DebugCommands::activeSourceCaret() {
    CVarnIdeView* v = documents_.activeView();
    if (!v || !v->editable()) return std::nullopt;
    return SourceCaret{v->path(), v->caretLine() + 1};
}

std::string DebugCommands::expressionAtCaret() {
    CVarnIdeView* v = documents_.activeView();
    if (!v) return {};
    const std::string selected = v->selectedText().toStdString();
    if (!selected.empty() && selected.find('\n') == std::string::npos) return selected;
    return ValueTip::expressionAt(v->lineText(v->caretLine()), static_cast<std::size_t>(v->caretColumn())).value_or("");
}

void DebugCommands::switchLayout(bool debugMode) {
    if (closing_) return;
    if (debugMode) {
        outputBar_.hide();
        watchBar_->show();
        watchBar_->raise();
    } else {
        watchBar_->hide();
        if (outputBar_.isHidden()) outputBar_.show();
        // The program no longer stands anywhere.
        for (CVarnIdeView* v : documents_.views()) v->setCurrentStatementLine(-1);
    }
    if (debugMenu_) debugMenu_->menuAction()->setVisible(debugMode);
    emit stateChanged();
}

void DebugCommands::bringToFront() {
    if (closing_) return;
    if (window_.isMinimized()) window_.showNormal();
    window_.raise();
    window_.activateWindow();
}

void DebugCommands::refreshWatchViews() {
    if (!closing_) watchBar_->refresh();
}

}  // namespace varn
