// Run and debug: starting the program in the desktop runtime, the idle
// poll of the debugger link and the process watch, the runtime's messages,
// stepping, breakpoints, the watch and Locals panes and the variable dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "debug/DebugMessage.h"
#include "debug/RunningProgram.h"

namespace varn {

class Ui;
class SettingsStore;
class ProjectBuilder;
class VARNWorkspaceManager;
class DebuggerLink;
class Debugger;
class WatchPanes;
class DebugHost;

// Menu command ids of the Execute and Debug menus and the watch pane menu.
enum class DebugCommand {
    Run = 32783,
    Debug = 32786,
    Step = 32798,
    StepOver = 32799,
    RunToCursor = 32800,
    Resume = 32801,
    QuitDebugger = 32802,
    ShowNextStatement = 32813,
    DisplayVariable = 32804,
    AddVariable = 32903,
    Breakpoint = 32809,
    BreakpointAlt = 32795,
    RemoveAllBreakpoints = 32832,
    RemoveAllBreakpointsAlt = 32833,
    ClearWindow = 32788,
    DeleteVariable = 32789,
};

// Everything run and debug works with; all of it outlives the control.
struct DebugContext {
    VARNWorkspaceManager& workspace;
    ProjectBuilder& builder;
    DebuggerLink& link;
    Debugger& debugger;
    WatchPanes& panes;
    DebugHost& host;
    Ui& ui;
    SettingsStore& settings;
    std::string installPath;
    std::string mainWindowClass;  // handed to the runtime, which ends with that window
};

class DebugControl {
public:
    static constexpr const char* kAddNotRunning = "Variables can only be added when the debugger is running.";
    static constexpr const char* kViewNotRunning = "Variables can only be viewed when the debugger is running.";
    static constexpr const char* kBadMessage =
        "The program being debugged sent a message the debugger does not understand. Debugging has ended.";
    static constexpr const char* kDebugConfiguration = "Windows Debug";
    static constexpr const char* kReleaseConfiguration = "Windows Release";

    // The variable dialog's two modes: watch mode asks with codes 10/11,
    // display mode with 12/13.
    enum class VariableMode { Watch, Display };

    explicit DebugControl(DebugContext context, ProgramStarter starter = processStarter());
    ~DebugControl();
    DebugControl(const DebugControl&) = delete;
    DebugControl& operator=(const DebugControl&) = delete;

    bool debugMode() const { return debugMode_; }
    bool stopped() const;
    bool hasDebugProcess() const { return debugProcess_ != nullptr; }
    bool hasRunProcess() const { return runProcess_ != nullptr; }
    // A run or debug process is watched (blocks Compile, Run and Debug).
    bool programWatched() const { return hasDebugProcess() || hasRunProcess(); }

    // Whether a command is enabled; `activeIsSource`: the active window shows a source document.
    bool enabled(DebugCommand command, bool activeIsSource) const;

    // "&Run" and "&Debug": false when nothing was started.
    bool run();
    bool debug();

    // One idle pass: a message waiting on the link is handled, then the
    // processes are watched. True when another idle pass is wanted.
    bool idle();
    // Acts on the message just received (its payload is the link's).
    void handleMessage(std::uint32_t code);

    void step();
    void stepOver();
    void resume();
    void runToCursor();
    void quitDebugger();
    void showNextStatement();

    void toggleBreakpoint();
    void removeAllBreakpoints();
    // The lines (from 1) to flag in a source document being opened.
    std::vector<int> breakpointLinesFor(const std::string& path) const;
    // Sends the breakpoint set when it changed; with `wait` one reply is
    // received and handled.
    void sendBreakpoints(bool wait);

    // Asks the runtime for every value of a pane (watch panes: 20, Locals: 19).
    void refreshPane(int pane);
    void refreshWatchPanes();
    void refreshAllPanes();

    // "&Display Variable" and "&Add Variable": true when the dialog may open.
    bool checkVariableCommand();
    // A double-click on a pane item: true when the dialog may open.
    bool checkItemDoubleClick();
    // The variable dialog's requests; none when there is no reply.
    std::optional<std::string> requestValue(const std::string& name, VariableMode mode);
    std::optional<std::string> changeValue(const std::string& name, const std::string& value, VariableMode mode);
    // "Add Watch": asks the value and adds the item to the active watch pane.
    bool addWatch(const std::string& name);
    // "Delete Watch": removes the item from the active watch pane.
    bool deleteWatch(const std::string& name);

    // The tip for the pointer at `column` (from 0) of `line`, when tips are on.
    std::optional<std::string> valueTip(std::string_view line, std::size_t column);

    // The runtime a run starts: the project's copy beside the output, else the installed one.
    std::string runtimeProgram() const;
    std::string outputPath() const;

private:
    bool start(bool debugging);
    bool projectOpen() const;
    const std::string& configuration() const;
    bool canStart(bool debugging) const;
    // Sends a stepping command after the breakpoints; the runtime then runs.
    void stepWith(std::uint32_t code, const Payload& payload);
    // Sends a request and waits for the reply of the same code; false (and
    // debugging left when the conversation broke) otherwise.
    bool request(std::uint32_t code, const Payload& payload);
    void onStopped();
    void onFileList();
    void onLocalNames();
    void onEnded();
    // Ends the session after a broken conversation: the runtime is stopped.
    void abandon(const char* message);
    void leaveDebugMode();
    bool watchProcesses();
    void reportProgram(RunningProgram& program, bool ended);

    DebugContext c_;
    ProgramStarter starter_;
    std::unique_ptr<RunningProgram> debugProcess_;
    std::unique_ptr<RunningProgram> runProcess_;
    std::string programName_;  // file name of the program last started
    std::string errorText_;    // its error stream's last, unfinished line
    bool debugMode_ = false;
};

}  // namespace varn
