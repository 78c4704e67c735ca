#include "debug/DebugControl.h"

#include "app/IdeSettings.h"
#include "app/Ui.h"
#include "build/ProjectBuilder.h"
#include "debug/DebugHost.h"
#include "debug/Debugger.h"
#include "debug/DebuggerLink.h"
#include "debug/ValueTip.h"
#include "debug/WatchPanes.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "project/BuildConfiguration.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

std::string trimBlanks(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

}  // namespace

DebugControl::DebugControl(DebugContext context, ProgramStarter starter)
    : c_(std::move(context)), starter_(std::move(starter)) {
    // A waiting receive gives up as soon as the debugged runtime is gone.
    c_.link.setPeerAlive([this] { return debugProcess_ && !debugProcess_->ended(); });
}

DebugControl::~DebugControl() { c_.link.setPeerAlive({}); }

bool DebugControl::stopped() const { return c_.debugger.stopped; }

bool DebugControl::projectOpen() const { return c_.workspace.currentWorkspaceName().has_value(); }

const std::string& DebugControl::configuration() const { return c_.workspace.project().activeConfiguration; }

bool DebugControl::canStart(bool debugging) const {
    if (c_.builder.busy() || !projectOpen() || programWatched()) return false;
    if (isConfiguration(configuration(), kDebugConfiguration)) return !debugging || c_.link.isOpen();
    return !debugging && isConfiguration(configuration(), kReleaseConfiguration);
}

bool DebugControl::enabled(DebugCommand command, bool activeIsSource) const {
    const bool stoppedInDebug = debugMode_ && stopped();
    switch (command) {
    case DebugCommand::Run: return canStart(false);
    case DebugCommand::Debug: return canStart(true);
    case DebugCommand::Step:
    case DebugCommand::StepOver:
    case DebugCommand::RunToCursor:
    case DebugCommand::Resume:
    case DebugCommand::ShowNextStatement:
    case DebugCommand::DisplayVariable:
    case DebugCommand::AddVariable: return stoppedInDebug;
    case DebugCommand::QuitDebugger: return stopped();
    case DebugCommand::Breakpoint:
    case DebugCommand::BreakpointAlt:
    case DebugCommand::RemoveAllBreakpoints:
    case DebugCommand::RemoveAllBreakpointsAlt:
        return projectOpen() && activeIsSource && isConfiguration(configuration(), kDebugConfiguration);
    case DebugCommand::ClearWindow:
    case DebugCommand::DeleteVariable: return WatchPanes::isWatchPane(c_.panes.activePane);
    }
    return false;
}

std::string DebugControl::outputPath() const { return c_.builder.paths().outputFile(c_.builder.flags()); }

std::string DebugControl::runtimeProgram() const {
    const std::string copy = fsys::resolveCase(c_.builder.paths().windowsRuntimeCopy());
    if (fsys::exists(copy)) return copy;
    return fsys::resolveCase(paths::join(c_.installPath, "varnwin.exe"));
}

bool DebugControl::run() { return start(false); }
bool DebugControl::debug() { return start(true); }

bool DebugControl::start(bool debugging) {
    if (!canStart(debugging)) return false;
    c_.host.clearBuildPane();
    const std::string output = outputPath();
    const std::string runtime = runtimeProgram();
    c_.builder.rebuildOffer(output);
    if (c_.builder.buildFailed()) return false;

    // The runtime's arguments, each one argument whatever the project is called:
    // the program, for Debug "-Debugger" and the main window's class, then "-EscapeEnabled".
    std::vector<std::string> argv = {runtime, output};
    if (debugging) argv.insert(argv.end(), {"-Debugger", c_.mainWindowClass});
    argv.push_back("-EscapeEnabled");
    ProcessOptions options;
    options.workingFolder = paths::folderOf(output);
    if (debugging) {
        c_.link.discardPending();  // whatever an earlier runtime left behind
        options.stdinFd = c_.link.runtimeInputFd();
        options.stdoutFd = c_.link.runtimeOutputFd();
    }
    auto started = starter_(argv, options);
    if (!started) {
        c_.ui.error(started.error().message);
        return false;
    }
    programName_ = paths::fileName(output);
    c_.host.programOutput(programName_ + " started.");
    if (debugging) {
        debugProcess_ = std::move(*started);
        c_.debugger.resetRun();
    } else {
        runProcess_ = std::move(*started);
    }
    debugMode_ = debugging;
    c_.host.switchLayout(debugMode_);
    return true;
}

bool DebugControl::idle() {
    bool more = false;
    if (debugMode_ && c_.link.isOpen()) {
        const std::uint32_t code = c_.link.receive(false);
        if (code != 0 && code != DebugCode::kNothing) {
            handleMessage(code);
            more = true;
        }
    }
    return watchProcesses() || more;
}

// Passes what the program wrote to its error stream on, line by line; at its
// end the rest and its exit code.
void DebugControl::reportProgram(RunningProgram& program, bool ended) {
    errorText_ += program.takeErrorText();
    std::size_t start = 0;
    for (std::size_t nl; (nl = errorText_.find('\n', start)) != std::string::npos; start = nl + 1) {
        std::string line = errorText_.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        c_.host.programOutput(line);
    }
    errorText_.erase(0, start);
    if (!ended) return;
    if (!errorText_.empty()) c_.host.programOutput(errorText_);
    errorText_.clear();
    const auto code = program.exitCode();
    c_.host.programOutput(programName_ + (code ? " ended with exit code " + std::to_string(*code) + "." : " ended."));
}

bool DebugControl::watchProcesses() {
    bool more = false;
    if (debugProcess_) {
        const bool ended = debugProcess_->ended();
        reportProgram(*debugProcess_, ended);
        if (ended) {
            debugProcess_.reset();
            if (debugMode_) leaveDebugMode();
        }
    }
    if (runProcess_) {
        const bool ended = runProcess_->ended();
        reportProgram(*runProcess_, ended);
        if (ended) {
            runProcess_.reset();
            more = true;
        }
    }
    return more;
}

void DebugControl::handleMessage(std::uint32_t code) {
    switch (code) {
    case DebugCode::kStopped: onStopped(); return;
    case DebugCode::kWatchValue:
    case DebugCode::kWatchAssign:
    case DebugCode::kDisplayValue:
    case DebugCode::kDisplayAssign:
    case DebugCode::kLocalValues:
    case DebugCode::kWatchValues: c_.debugger.stopped = true; return;
    case DebugCode::kEnded: onEnded(); return;
    case DebugCode::kFileList: onFileList(); return;
    case DebugCode::kLocalNames: onLocalNames(); return;
    case 0:
    case DebugCode::kNothing: return;
    default: abandon(kBadMessage); return;
    }
}

void DebugControl::onStopped() {
    const auto stop = readLineAndPath(c_.link.payload(), c_.link.payloadLength());
    if (!stop) return abandon(kBadMessage);
    c_.host.openAtCurrentStatement(stop->path, stop->line - 1);
    c_.debugger.stopLine = stop->line;
    c_.debugger.stopFile = stop->path;
    c_.debugger.stopped = true;
    refreshAllPanes();
    if (debugMode_) c_.host.bringToFront();
}

void DebugControl::onFileList() {
    auto files = readTextList(c_.link.payload(), c_.link.payloadLength());
    if (!files) return abandon(kBadMessage);
    c_.debugger.fileList = std::move(*files);
    c_.debugger.breakpointsDirty = true;
    sendBreakpoints(false);
}

void DebugControl::onLocalNames() {
    const auto names = readTextList(c_.link.payload(), c_.link.payloadLength());
    if (!names) return abandon(kBadMessage);
    c_.panes.clearLocals();
    for (const std::string& name : *names) c_.panes.add(WatchPanes::kLocals, name);
    c_.host.refreshWatchViews();
    c_.link.send(DebugCode::kLocalsAck, {});
}

void DebugControl::onEnded() {
    debugProcess_.reset();
    leaveDebugMode();
}

void DebugControl::leaveDebugMode() {
    c_.panes.clearLocals();
    c_.debugger.stopped = false;
    debugMode_ = false;
    c_.host.refreshWatchViews();
    c_.host.switchLayout(false);
}

void DebugControl::abandon(const char* message) {
    if (message) c_.ui.error(message);
    if (debugProcess_) debugProcess_->stop();
    debugProcess_.reset();
    c_.link.discardPending();
    leaveDebugMode();
}

void DebugControl::sendBreakpoints(bool wait) {
    if (!c_.debugger.breakpointsDirty || !debugMode_) return;
    c_.debugger.rebuildFrom(c_.host.openSourceBreakpoints());
    const Payload payload = buildBreakpoints(c_.debugger.breakpoints(), c_.debugger.fileList);
    if (!c_.link.send(DebugCode::kBreakpoints, payload)) return;
    c_.debugger.breakpointsDirty = false;
    if (!wait) return;
    const std::uint32_t code = c_.link.receive(true);
    if (code == 0) return abandon(nullptr);  // the link said why
    handleMessage(code);
}

void DebugControl::stepWith(std::uint32_t code, const Payload& payload) {
    if (!enabled(DebugCommand::Step, false)) return;
    sendBreakpoints(true);
    if (!debugMode_ || !stopped()) return;  // the reply ended the session
    if (c_.link.send(code, payload)) c_.debugger.stopped = false;
}

void DebugControl::step() { stepWith(DebugCode::kStepInto, {}); }
void DebugControl::stepOver() { stepWith(DebugCode::kStepOver, {}); }
void DebugControl::resume() { stepWith(DebugCode::kResume, {}); }

void DebugControl::runToCursor() {
    const auto caret = c_.host.activeSourceCaret();
    if (!caret) return;
    stepWith(DebugCode::kRunToLine, buildLineAndPath(caret->line, caret->path));
}

void DebugControl::quitDebugger() {
    if (!stopped()) return;
    c_.link.send(DebugCode::kQuit, {});
    c_.debugger.stopped = false;
    debugMode_ = false;
    c_.panes.clearLocals();
    c_.host.refreshWatchViews();
    c_.host.switchLayout(false);
}

void DebugControl::showNextStatement() {
    if (c_.debugger.stopFile.empty()) return;
    c_.host.openAtCurrentStatement(c_.debugger.stopFile, c_.debugger.stopLine - 1);
}

void DebugControl::toggleBreakpoint() {
    c_.host.toggleBreakpointAtCaret();
    c_.debugger.breakpointsDirty = true;
}

void DebugControl::removeAllBreakpoints() {
    c_.debugger.removeAll();
    c_.host.clearAllBreakpointFlags();
    c_.debugger.breakpointsDirty = true;
}

std::vector<int> DebugControl::breakpointLinesFor(const std::string& path) const {
    return c_.debugger.linesFor(path);
}

bool DebugControl::request(std::uint32_t code, const Payload& payload) {
    if (!c_.link.send(code, payload)) return false;
    const std::uint32_t reply = c_.link.receive(true);
    if (reply == code) {
        c_.debugger.stopped = true;
        return true;
    }
    if (reply == DebugCode::kEnded) {
        onEnded();
        return false;
    }
    abandon(reply == 0 ? nullptr : kBadMessage);
    return false;
}

void DebugControl::refreshPane(int pane) {
    if (!debugMode_ || !stopped()) return;
    const std::vector<std::string> names = c_.panes.names(pane);
    if (names.empty()) return;  // nothing to ask
    const std::uint32_t code = pane == WatchPanes::kLocals ? DebugCode::kLocalValues : DebugCode::kWatchValues;
    if (!request(code, buildTextList(names))) return;
    const auto values = readNameValueList(c_.link.payload(), c_.link.payloadLength());
    if (!values) return abandon(kBadMessage);
    c_.panes.setValues(pane, *values);
    c_.host.refreshWatchViews();
}

void DebugControl::refreshWatchPanes() {
    for (int pane = 0; pane < WatchPanes::kWatchPanes; ++pane) refreshPane(pane);
}

void DebugControl::refreshAllPanes() {
    refreshWatchPanes();
    refreshPane(WatchPanes::kLocals);
}

bool DebugControl::checkVariableCommand() {
    if (debugMode_ && stopped()) return true;
    c_.ui.info(kAddNotRunning);
    return false;
}

bool DebugControl::checkItemDoubleClick() {
    if (debugMode_) return true;
    c_.ui.info(kViewNotRunning);
    return false;
}

std::optional<std::string> DebugControl::requestValue(const std::string& name, VariableMode mode) {
    const std::string trimmed = trimBlanks(name);
    if (trimmed.empty() || !debugMode_ || !stopped()) return std::nullopt;
    const std::uint32_t code = mode == VariableMode::Watch ? DebugCode::kWatchValue : DebugCode::kDisplayValue;
    if (!request(code, buildText(trimmed))) return std::nullopt;
    auto value = readText(c_.link.payload(), c_.link.payloadLength());
    if (!value) abandon(kBadMessage);
    return value;
}

std::optional<std::string> DebugControl::changeValue(const std::string& name, const std::string& value,
                                                     VariableMode mode) {
    const std::string trimmed = trimBlanks(name);
    if (trimmed.empty() || !debugMode_ || !stopped()) return std::nullopt;
    const std::uint32_t code = mode == VariableMode::Watch ? DebugCode::kWatchAssign : DebugCode::kDisplayAssign;
    if (!request(code, buildNameValue(trimmed, value))) return std::nullopt;
    auto reply = readText(c_.link.payload(), c_.link.payloadLength());
    if (!reply) {
        abandon(kBadMessage);
        return std::nullopt;
    }
    if (mode == VariableMode::Watch) {
        refreshWatchPanes();
    } else {
        refreshPane(WatchPanes::kLocals);
    }
    return reply;
}

bool DebugControl::addWatch(const std::string& name) {
    const int pane = c_.panes.activePane;
    if (!WatchPanes::isWatchPane(pane)) return false;
    const auto value = requestValue(name, VariableMode::Watch);
    if (!value) return false;
    c_.panes.add(pane, trimBlanks(name), *value);
    c_.host.refreshWatchViews();
    return true;
}

bool DebugControl::deleteWatch(const std::string& name) {
    const int pane = c_.panes.activePane;
    if (!WatchPanes::isWatchPane(pane)) return false;
    const bool deleted = c_.panes.deleteByName(pane, trimBlanks(name));
    if (deleted) c_.host.refreshWatchViews();
    return deleted;
}

std::optional<std::string> DebugControl::valueTip(std::string_view line, std::size_t column) {
    if (c_.settings.getInt(IdeSettings::kSection, IdeSettings::Key::ShowDebugDataPopups, 1) == 0) return std::nullopt;
    if (!debugMode_ || !stopped()) return std::nullopt;
    const auto expression = ValueTip::expressionAt(line, column);
    if (!expression) return std::nullopt;
    const auto value = requestValue(*expression, VariableMode::Watch);
    if (!value) return std::nullopt;
    return ValueTip::tipText(*expression, *value);
}

}  // namespace varn
