// Fuzz target for debug sessions of the IDE's run-and-debug control against
// the real desktop runtime: the input picks the commands of one session and
// the moment its runtime is killed, in the middle of a request as often as
// between two. Every session must end (debug mode left, no program watched)
// soon after the kill, tell the user no more than that the program ended,
// and leave the link so that the next input's session starts cleanly on it.
// A failure prints what the session did and aborts.
#include <signal.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "RecordingDebugHost.h"
#include "app/RecordingUi.h"
#include "build/BuildHost.h"
#include "build/ProjectBuilder.h"
#include "debug/DebugControl.h"
#include "debug/DebugHost.h"
#include "debug/Debugger.h"
#include "debug/DebuggerLink.h"
#include "debug/RunningProgram.h"
#include "debug/WatchPanes.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/SettingsStore.h"
#include "project/SymbolList.h"
#include "project/VARNWorkspaceManager.h"

#ifndef P_PIDFD
#define P_PIDFD 3
#endif

namespace varn {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Events (handled messages and commands) before the kill, at most.
constexpr int kMaxEventsBeforeKill = 60;
// From the kill to the end of the session.
constexpr auto kEndBound = 3s;
// A session that has not ended by then is stuck: its runtime is killed.
constexpr auto kWatchdog = 10s;

// Line numbers matter: the first stop and the breakpoints name them.
const std::string kMain =
    "# The program the sessions walk through.\n"  // 1
    "total = 0;\n"                                // 2
    "label = \"run\";\n"                          // 3
    "include \"lib.vsl\"\n"                       // 4
    "function startup()\n"                        // 5
    "  a = 1;\n"                                  // 6
    "  b = a + 2;\n"                              // 7
    "  add(a, b);\n"                              // 8
    "  c = total * 2;\n"                          // 9
    "  add(c, 1);\n"                              // 10
    "  label = label + \"!\";\n"                  // 11
    "  twice(c);\n"                               // 12
    "  add(b, c);\n"                              // 13
    "  d = a + b + c;\n"                          // 14
    "  twice(d);\n"                               // 15
    "  twice(a); twice(b);\n"                     // 16
    "  twice(c); twice(d);\n"                     // 17
    "  done = 1;\n"                               // 18
    "end;\n";                                     // 19
const std::string kLib =
    "function add(x, y)\n"    // 1
    "  s = x + y;\n"          // 2
    "  total = total + s;\n"  // 3
    "end;\n"                  // 4
    "\n"                      // 5
    "function twice(n)\n"     // 6
    "  m = n * 2;\n"          // 7
    "  add(m, n);\n"          // 8
    "  total = total + m;\n"  // 9
    "end;\n";                 // 10
constexpr int kMainLines = 19;
constexpr int kLibLines = 10;
const std::vector<std::string> kStartupLocals = {"a", "b", "c", "d", "done"};
const std::vector<std::string> kNames = {"a", "b", "c", "total", "label", "s", "x", "m", "n", "a + total", "ghost", ""};

std::set<pid_t> childrenOfThisThread() {
    std::ifstream in("/proc/self/task/" + std::to_string(::gettid()) + "/children");
    std::set<pid_t> pids;
    pid_t pid;
    while (in >> pid) pids.insert(pid);
    return pids;
}

// The runtime a session started, held by a pid descriptor so that neither a
// kill nor the final reap can reach a recycled process id.
struct StartedRuntime {
    pid_t pid = -1;
    int pidfd = -1;
};

// Kills the session's runtime now, after a delay on its own thread (so that
// the kill lands in whatever the control is doing), or when the session
// overruns the watchdog.
class Killer {
public:
    explicit Killer(int pidfd) : pidfd_(pidfd), watchdogAt_(Clock::now() + kWatchdog) {
        thread_ = std::thread([this] { run(); });
    }
    // The runtime never outlives its session.
    ~Killer() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            killLocked();
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    Killer(const Killer&) = delete;
    Killer& operator=(const Killer&) = delete;

    void killNow() {
        std::lock_guard<std::mutex> lock(mutex_);
        killLocked();
    }
    void killAfter(std::chrono::microseconds delay) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            armedAt_ = Clock::now() + delay;
        }
        cv_.notify_all();
    }
    std::optional<Clock::time_point> killedAt() {
        std::lock_guard<std::mutex> lock(mutex_);
        return killedAt_;
    }
    bool watchdogFired() {
        std::lock_guard<std::mutex> lock(mutex_);
        return watchdogFired_;
    }

private:
    void killLocked() {
        if (killedAt_) return;
        ::syscall(SYS_pidfd_send_signal, pidfd_, SIGKILL, nullptr, 0);
        killedAt_ = Clock::now();
    }
    void run() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!done_) {
            const auto until = armedAt_ && !killedAt_ ? std::min(*armedAt_, watchdogAt_) : watchdogAt_;
            cv_.wait_until(lock, until);
            if (done_) break;
            const auto now = Clock::now();
            if (armedAt_ && now >= *armedAt_) killLocked();
            if (now >= watchdogAt_ && !watchdogFired_) {
                watchdogFired_ = true;
                killLocked();
            }
            if (watchdogFired_) cv_.wait(lock, [this] { return done_; });
        }
    }

    int pidfd_;
    Clock::time_point watchdogAt_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    bool watchdogFired_ = false;
    std::optional<Clock::time_point> armedAt_;
    std::optional<Clock::time_point> killedAt_;
    std::thread thread_;
};

// The project, the compiled program and the IDE's side, made once and kept
// from one input to the next.
struct Sessions {
    std::string tmp;
    std::string install, d, mainPath, libPath;
    RecordingUi ui;
    SettingsStore settings;
    SymbolList symbols;
    std::unique_ptr<VARNWorkspaceManager> workspace;
    BuildHost buildHost;
    std::unique_ptr<ProjectBuilder> builder;
    DebuggerLink link;
    std::unique_ptr<Debugger> debugger;
    WatchPanes panes;
    test::RecordingDebugHost host;
    StartedRuntime started;
    std::unique_ptr<DebugControl> control;

    static void fail(const std::string& what) {
        std::fprintf(stderr, "%s\n", what.c_str());
        std::abort();
    }

    Sessions() {
        char folder[] = "/tmp/fuzz_debug_sessions.XXXXXX";
        if (!::mkdtemp(folder)) fail("no temporary folder");
        tmp = folder;
        install = tmp + "/varn";
        d = tmp + "/Proj";
        mainPath = d + "/Demo.vsl";
        libPath = d + "/lib.vsl";
        workspace = std::make_unique<VARNWorkspaceManager>(ui, settings, symbols, install);
        builder = std::make_unique<ProjectBuilder>(*workspace, ui, settings, buildHost, install);
        debugger = std::make_unique<Debugger>(workspace->project().breakpoints);
        if (!link.openIde(ui)) fail("the link did not open");
        fsys::createFolders(install);
        fsys::createFolders(d + "/Windows Debug");
        fsys::writeFileAtomic(install + "/VARNsyms.txt", "");
        fsys::writeFileAtomic(mainPath, kMain);
        fsys::writeFileAtomic(libPath, kLib);
        fsys::writeFileAtomic(d + "/varn_c.opt", "-win32\r\n-output=" + d + "/Windows Debug/demo.vsp\r\n" +
                                                     "-define:IDE__PASS=1\r\n" + mainPath +
                                                     "\r\n-define:IDE__PASS=2\r\n");
        ProcessOptions options;
        options.workingFolder = d;
        auto compiler = Process::start(std::string(VARN_SHARE_DIR) + "/varn_c.exe", {d + "/varn_c.opt"}, options);
        if (!compiler || compiler->wait() != 0 || !fsys::exists(d + "/Windows Debug/demo.vsp"))
            fail("the program did not compile");

        ProjectModel& m = workspace->project();
        m.projectPath = d + "/Demo.vpj";
        m.workspaceOpen = true;
        m.tree.setProjectRoot(m.projectPath, mainPath);
        m.activeConfiguration = "Windows Debug";

        // The real starter, wrapped to learn which child it made.
        ProgramStarter real = processStarter();
        ProgramStarter recording = [this, real](
                                       const std::vector<std::string>& argv,
                                       const ProcessOptions& options) -> Result<std::unique_ptr<RunningProgram>> {
            const std::set<pid_t> before = childrenOfThisThread();
            auto result = real(argv, options);
            started = {};
            if (result) {
                for (pid_t pid : childrenOfThisThread())
                    if (!before.count(pid)) started.pid = pid;
                if (started.pid > 0) started.pidfd = static_cast<int>(::syscall(SYS_pidfd_open, started.pid, 0));
            }
            return result;
        };
        // The runtime is the installed one: the project has no copy beside its output.
        control = std::make_unique<DebugControl>(DebugContext{*workspace, *builder, link, *debugger, panes, host, ui,
                                                              settings, VARN_SHARE_DIR, "VarnIdeMain"},
                                                 recording);
    }

    bool sessionOver() const { return !control->debugMode() && !control->programWatched(); }
};

// The input's bytes as choices; past its end every choice is the first.
struct Choices {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    int pick(int n) {
        unsigned v = 0;
        for (int bytes = n > 256 ? 2 : 1; bytes > 0; --bytes) v = v << 8 | (at < size ? data[at++] : 0u);
        return n > 1 ? static_cast<int>(v % static_cast<unsigned>(n)) : 0;
    }
};

// One session's walk; a broken rule ends the run with the session's trace.
struct Walk {
    Sessions& s;
    DebugControl& c;
    Choices choices;
    std::string trace;  // what the session did, for a failure message
    bool killedLive = false;

    void note(const std::string& what) { trace += what + " "; }
    void fail(const std::string& what) { Sessions::fail(what + "\nthe session: " + trace); }

    int pick(int n) { return choices.pick(n); }
    const std::string& anyName() { return kNames[static_cast<std::size_t>(pick(static_cast<int>(kNames.size())))]; }
    void moveCaret() {
        const bool inLib = pick(2) == 1;
        s.host.caret = {inLib ? s.libPath : s.mainPath, 1 + pick(inLib ? kLibLines : kMainLines)};
    }
    DebugControl::VariableMode anyMode() {
        return pick(2) ? DebugControl::VariableMode::Watch : DebugControl::VariableMode::Display;
    }

    // One command of the stopped state. False when a request failed
    // although nothing was killed: the conversation broke by itself.
    bool command(Killer& killer) {
        const int r = pick(100);
        bool ok = true;
        if (r < 14) {
            note("step");
            c.step();
        } else if (r < 28) {
            note("stepOver");
            c.stepOver();
        } else if (r < 36) {
            note("resume");
            c.resume();
        } else if (r < 44) {
            moveCaret();
            note("runToCursor:" + std::to_string(s.host.caret.line));
            c.runToCursor();
        } else if (r < 52) {
            note("refreshWatchPanes");
            c.refreshWatchPanes();
        } else if (r < 58) {
            note("refreshAllPanes");
            c.refreshAllPanes();
        } else if (r < 70) {
            const std::string& name = anyName();
            note("request:" + name);
            ok = c.requestValue(name, anyMode()).has_value() || name.empty();
        } else if (r < 78) {
            const std::string& name = anyName();
            note("change:" + name);
            ok = c.changeValue(name, pick(2) ? "total + 1" : "\"text\"", anyMode()).has_value() || name.empty();
        } else if (r < 88) {
            moveCaret();
            note("toggle:" + std::to_string(s.host.caret.line));
            c.toggleBreakpoint();
        } else if (r < 94) {
            s.panes.activePane = pick(WatchPanes::kWatchPanes);
            if (s.panes.items(s.panes.activePane).size() < 4) {
                const std::string& name = anyName();
                note("addWatch:" + name);
                ok = c.addWatch(name) || name.empty();
            }
        } else if (r < 98) {
            note("showNextStatement");
            c.showNextStatement();
        } else {
            note("quitDebugger");
            c.quitDebugger();
        }
        return ok || killer.killedAt().has_value();
    }

    // Drives the session to its end. The kill comes at a chosen event
    // (handled message or command), at once or after a short delay.
    void run() {
        const int killEvent = pick(kMaxEventsBeforeKill + 1);
        const bool delayed = pick(3) != 0;
        const auto delay = std::chrono::microseconds(pick(1500));

        if (!c.debug()) fail("debug did not start: " + s.ui.lastText());
        if (s.started.pidfd <= 0) fail("the started runtime was not found");
        Killer killer(s.started.pidfd);
        bool firstStop = true;
        int events = 0;
        bool armed = false;
        while (!s.sessionOver()) {
            if (auto at = killer.killedAt(); at && Clock::now() - *at > kEndBound) {
                fail("the session did not end within 3 s of the kill (debug mode " + std::to_string(c.debugMode()) +
                     ", watched " + std::to_string(c.programWatched()) + ", stopped " + std::to_string(c.stopped()) +
                     ")" + (killer.watchdogFired() ? "; the watchdog killed a stuck runtime" : ""));
            }
            if (events == killEvent && !armed) {
                armed = true;
                note(delayed ? "kill+" + std::to_string(delay.count()) + "us" : std::string("kill"));
                if (delayed) {
                    killer.killAfter(delay);
                } else {
                    killer.killNow();
                }
            }
            if (c.debugMode() && c.stopped() && !killer.killedAt()) {
                if (firstStop) {
                    firstStop = false;
                    // A clean start: nothing left over from the last runtime
                    // came before the stop at the first statement.
                    if (s.debugger->stopFile != s.mainPath || s.debugger->stopLine != 6 ||
                        s.host.opened != std::vector<std::pair<std::string, int>>{{s.mainPath, 5}} ||
                        s.panes.names(WatchPanes::kLocals) != kStartupLocals)
                        fail("the first stop is not at the first statement of startup");
                }
                ++events;
                if (!command(killer)) fail("a request failed with the runtime alive; last message: " + s.ui.lastText());
            } else if (c.idle()) {
                note("<" + std::to_string(s.link.code) + ">");
                ++events;
            } else {
                std::this_thread::sleep_for(100us);
            }
        }
        killedLive = killer.killedAt().has_value();
        if (killer.watchdogFired()) fail("the watchdog had to kill a stuck runtime");
    }
};

}  // namespace
}  // namespace varn

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varn;
    static Sessions s;
    s.ui.clear();
    s.host.opened.clear();
    s.host.layouts.clear();
    s.host.flags = {{s.mainPath, {13}}, {s.libPath, {3}}};
    s.host.caret = {s.mainPath, 9};
    Walk walk{s, *s.control, Choices{data, size}, {}};
    walk.run();
    // Ended: debug mode left, nothing watched, the panes' runtime part gone.
    if (s.control->debugMode() || s.control->programWatched() || s.control->stopped() ||
        !s.panes.items(WatchPanes::kLocals).empty() || (!s.host.layouts.empty() && s.host.layouts.back()))
        walk.fail("the session did not end cleanly");
    // The user heard at most that the program ended.
    const std::vector<std::string> said = s.ui.texts();
    if (said.size() > 1 || (said.size() == 1 && said[0] != DebuggerLink::kProgramEnded))
        walk.fail("the user was told: " + s.ui.lastText());
    // Reap the runtime (a no-op when the control already has).
    if (s.started.pidfd >= 0) {
        siginfo_t info{};
        ::waitid(static_cast<idtype_t>(P_PIDFD), static_cast<id_t>(s.started.pidfd), &info, WEXITED);
        ::close(s.started.pidfd);
        s.started = {};
    }
    return 0;
}
