// Many debug sessions of the IDE's run-and-debug control against the real
// runtime process, each a seeded random walk of commands that ends with the
// runtime killed at a random moment, in the middle of a request as often as
// between two. Every session must end (debug mode left, no program watched)
// soon after the kill, tell the user no more than that the program ended,
// and leave the link so that the next session starts cleanly on it.

#include "../common/ToolTest.h"
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
#include "platform/SettingsStore.h"
#include "project/SymbolList.h"
#include "project/VARNWorkspaceManager.h"

#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <thread>

#ifndef P_PIDFD
#define P_PIDFD 3
#endif

namespace varn::tooltest {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr unsigned kDefaultSeed = 20261206;
// VARN_SESSIONS_SEED in the environment replaces the fixed seed, to explore.
unsigned seed() {
    const char* text = std::getenv("VARN_SESSIONS_SEED");
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : kDefaultSeed;
}
constexpr int kSessions = 200;
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
    "function add(x, y)\n"       // 1
    "  s = x + y;\n"             // 2
    "  total = total + s;\n"     // 3
    "end;\n"                     // 4
    "\n"                         // 5
    "function twice(n)\n"        // 6
    "  m = n * 2;\n"             // 7
    "  add(m, n);\n"             // 8
    "  total = total + m;\n"     // 9
    "end;\n";                    // 10
constexpr int kMainLines = 19;
constexpr int kLibLines = 10;
const std::vector<std::string> kStartupLocals = {"a", "b", "c", "d", "done"};
const std::vector<std::string> kNames = {"a", "b", "c", "total", "label", "s", "x", "m", "n", "a + total", "ghost", ""};

using SessionHost = test::RecordingDebugHost;

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

class Sessions : public ::testing::Test {
public:
    varn::test::TempDir tmp;
    std::string install = tmp.file("varn");
    std::string d = tmp.file("Proj");
    std::string mainPath = d + "/Demo.vsl";
    std::string libPath = d + "/lib.vsl";
    RecordingUi ui;
    SettingsStore settings;
    SymbolList symbols;
    VARNWorkspaceManager workspace{ui, settings, symbols, install};
    BuildHost buildHost;
    ProjectBuilder builder{workspace, ui, settings, buildHost, install};
    DebuggerLink link;
    Debugger debugger{workspace.project().breakpoints};
    WatchPanes panes;
    SessionHost host;
    StartedRuntime started;
    std::unique_ptr<DebugControl> control;

    void SetUp() override {
        ASSERT_TRUE(link.openIde(ui));
        fsys::createFolders(install);
        fsys::createFolders(d + "/Windows Debug");
        writeBytes(install + "/VARNsyms.txt", "");
        writeBytes(mainPath, kMain);
        writeBytes(libPath, kLib);
        writeBytes(d + "/varn_c.opt", "-win32\r\n-output=" + d + "/Windows Debug/demo.vsp\r\n-define:IDE__PASS=1\r\n" +
                                          mainPath + "\r\n-define:IDE__PASS=2\r\n");
        ProcessOutput p = runIn(d, compiler(), shellQuote(d + "/varn_c.opt"));
        ASSERT_EQ(p.status, 0) << joinLines(logLines(d + "/varn_c.log"));
        ASSERT_TRUE(fsys::exists(d + "/Windows Debug/demo.vsp"));

        ProjectModel& m = workspace.project();
        m.projectPath = d + "/Demo.vpj";
        m.workspaceOpen = true;
        m.tree.setProjectRoot(m.projectPath, mainPath);
        m.activeConfiguration = "Windows Debug";

        // The real starter, wrapped to learn which child it made.
        ProgramStarter real = processStarter();
        ProgramStarter recording = [this, real](const std::vector<std::string>& argv,
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
        control = std::make_unique<DebugControl>(
            DebugContext{workspace, builder, link, debugger, panes, host, ui, settings, VARN_SHARE_DIR, "VarnIdeMain"},
            recording);
    }

    bool sessionOver() const { return !control->debugMode() && !control->programWatched(); }
};

// One session's random walk, reproducible from its seed; failures are reported on the way.
struct Walk {
    Sessions& s;
    DebugControl& c;
    std::mt19937 rng;
    std::string where;
    std::string trace;  // what the session did, for a failure message
    bool killedLive = false;

    void note(const std::string& what) { trace += what + " "; }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
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

    // Drives the session to its end. The kill comes at a random event
    // (handled message or command), at once or after a short delay.
    void run() {
        const int killEvent = pick(kMaxEventsBeforeKill + 1);
        const bool delayed = pick(3) != 0;
        const auto delay = std::chrono::microseconds(pick(1500));

        ASSERT_TRUE(c.debug()) << where << ": " << s.ui.lastText();
        ASSERT_GT(s.started.pidfd, 0) << where << ": the started runtime was not found";
        Killer killer(s.started.pidfd);
        bool firstStop = true;
        int events = 0;
        bool armed = false;
        while (!s.sessionOver()) {
            if (auto at = killer.killedAt(); at && Clock::now() - *at > kEndBound) {
                ADD_FAILURE() << where << ": the session did not end within " << kEndBound.count()
                              << " s of the kill (debug mode " << c.debugMode() << ", watched "
                              << c.programWatched() << ", stopped " << c.stopped() << ")"
                              << (killer.watchdogFired() ? "; the watchdog killed a stuck runtime" : "");
                return;
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
                    EXPECT_EQ(s.debugger.stopFile, s.mainPath) << where;
                    EXPECT_EQ(s.debugger.stopLine, 6) << where;
                    EXPECT_EQ(s.host.opened, (std::vector<std::pair<std::string, int>>{{s.mainPath, 5}})) << where;
                    EXPECT_EQ(s.panes.names(WatchPanes::kLocals), kStartupLocals) << where;
                    if (::testing::Test::HasFailure()) return;
                }
                ++events;
                if (!command(killer)) {
                    ADD_FAILURE() << where << ": a request failed with the runtime alive; messages: "
                                  << ::testing::PrintToString(s.ui.texts());
                    return;
                }
            } else if (c.idle()) {
                note("<" + std::to_string(s.link.code) + ">");
                ++events;
            } else {
                std::this_thread::sleep_for(100us);
            }
        }
        killedLive = killer.killedAt().has_value();
        if (killer.watchdogFired())
            ADD_FAILURE() << where << ": the watchdog had to kill a stuck runtime";
    }
};

TEST_F(Sessions, EverySessionEndsSoonAfterTheRuntimeIsKilledAndTheNextStartsCleanly) {
    const auto begin = Clock::now();
    const unsigned kSeed = seed();
    std::string lastTrace;
    int killedLive = 0, killedWaiting = 0;
    int session = 0;
    for (; session < kSessions; ++session) {
        const std::string where = "seed " + std::to_string(kSeed) + " session " + std::to_string(session);
        ui.clear();
        host.opened.clear();
        host.layouts.clear();
        host.flags = {{mainPath, {13}}, {libPath, {3}}};
        host.caret = {mainPath, 9};
        Walk walk{*this, *control, std::mt19937(kSeed + static_cast<unsigned>(session)), where, {}};
        walk.run();
        if (!HasFailure()) {
            // Ended: debug mode left, nothing watched, the panes' runtime part gone.
            EXPECT_FALSE(control->debugMode()) << where;
            EXPECT_FALSE(control->programWatched()) << where;
            EXPECT_FALSE(control->stopped()) << where;
            EXPECT_TRUE(panes.items(WatchPanes::kLocals).empty()) << where;
            if (!host.layouts.empty()) {
                EXPECT_FALSE(host.layouts.back()) << where;
            }
            // The user heard at most that the program ended.
            const std::vector<std::string> said = ui.texts();
            EXPECT_LE(said.size(), 1u) << where << ": " << ::testing::PrintToString(said);
            for (const std::string& text : said) EXPECT_EQ(text, DebuggerLink::kProgramEnded) << where;
            if (walk.killedLive) ++killedLive;
            if (!said.empty()) ++killedWaiting;
        }

        // Reap the runtime (a no-op when the control already has).
        if (started.pidfd >= 0) {
            siginfo_t info{};
            ::waitid(static_cast<idtype_t>(P_PIDFD), static_cast<id_t>(started.pidfd), &info, WEXITED);
            ::close(started.pidfd);
            started = {};
        }
        if (HasFailure()) {
            std::fprintf(stderr, "failed at %s\nits trace: %s\nthe session before: %s\n", where.c_str(),
                         walk.trace.c_str(), lastTrace.c_str());
            break;
        }
        lastTrace = walk.trace;
    }
    const auto seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    std::fprintf(stderr, "%d sessions in %.1f s; %d killed while debugging, %d of them in a waiting receive\n",
                 session, seconds, killedLive, killedWaiting);
}

}  // namespace
}  // namespace varn::tooltest
