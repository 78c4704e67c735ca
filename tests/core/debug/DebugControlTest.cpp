// Run and debug driven against a scripted runtime that speaks the protocol
// from a thread on the far ends of the real link: start arguments, command
// enabling, the stop/step conversation with breakpoints, panes, the variable
// requests, and every way a broken conversation ends the session in time.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "RecordingDebugHost.h"
#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "build/BuildHost.h"
#include "build/ProjectBuilder.h"
#include "debug/DebugControl.h"
#include "debug/DebugHost.h"
#include "debug/Debugger.h"
#include "debug/DebuggerLink.h"
#include "debug/ValueTip.h"
#include "debug/WatchPanes.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "project/VARNWorkspaceManager.h"

using namespace varn;
using namespace std::chrono_literals;

namespace {

using FakeHost = test::RecordingDebugHost;

// What the scripted runtime received, shared with the test after the
// runtime object itself is gone.
struct RuntimeLog {
    std::mutex mutex;
    std::vector<std::uint32_t> codes;
    std::vector<Payload> payloads;
    void add(std::uint32_t code, Payload payload) {
        std::lock_guard<std::mutex> lock(mutex);
        codes.push_back(code);
        payloads.push_back(std::move(payload));
    }
    std::vector<std::uint32_t> received() {
        std::lock_guard<std::mutex> lock(mutex);
        return codes;
    }
    Payload payload(std::size_t i) {
        std::lock_guard<std::mutex> lock(mutex);
        return payloads.at(i);
    }
};

class FakeRuntime;
using Script = std::function<void(FakeRuntime&)>;

class FakeRuntime : public RunningProgram {
public:
    FakeRuntime(int in, int out, std::shared_ptr<RuntimeLog> log, Script script)
        : log_(std::move(log)), out_(out) {
        link_.openRuntime(ui_, in, out);
        link_.setPeerAlive([this] { return !stopRequested_.load(); });
        thread_ = std::thread([this, script] {
            if (script) script(*this);
            done_ = true;
        });
    }
    ~FakeRuntime() override { stop(); }
    bool ended() override { return done_; }
    void stop() override {
        stopRequested_ = true;
        if (thread_.joinable()) thread_.join();
    }

    // The next message, recorded; 0 when the runtime is told to stop.
    std::uint32_t receive() {
        const std::uint32_t code = link_.receive(true);
        if (code != 0) log_->add(code, {link_.payload(), link_.payload() + link_.payloadLength()});
        return code;
    }
    void send(std::uint32_t code, const Payload& payload = {}) { link_.send(code, payload); }
    // Raw bytes, for messages broken below the framing.
    void write(const std::vector<std::uint8_t>& bytes) { (void)!::write(out_, bytes.data(), bytes.size()); }
    const std::uint8_t* payload() const { return link_.payload(); }
    std::uint16_t payloadLength() const { return link_.payloadLength(); }

private:
    RecordingUi ui_;
    DebuggerLink link_;
    std::shared_ptr<RuntimeLog> log_;
    int out_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

const std::string kSourceName = "Demo.vsl";

// A well-behaved runtime: file list, stop at line 1, then answers until it
// is told to resume (ends) or quit. `replyOverride` may answer a code first.
void goodRuntime(FakeRuntime& r, const std::string& file,
                 const std::function<bool(FakeRuntime&, std::uint32_t)>& replyOverride = {}) {
    r.send(DebugCode::kFileList, buildTextList({file}));
    if (r.receive() != DebugCode::kBreakpoints) return;
    int line = 1;
    r.send(DebugCode::kStopped, buildLineAndPath(line, file));
    for (;;) {
        const std::uint32_t code = r.receive();
        if (code == 0) return;
        if (replyOverride && replyOverride(r, code)) continue;
        switch (code) {
        case DebugCode::kBreakpoints: r.send(DebugCode::kStopped, buildLineAndPath(line, file)); break;
        case DebugCode::kStepInto:
        case DebugCode::kStepOver: r.send(DebugCode::kStopped, buildLineAndPath(++line, file)); break;
        case DebugCode::kRunToLine:
            line = readLineAndPath(r.payload(), r.payloadLength())->line;
            r.send(DebugCode::kStopped, buildLineAndPath(line, file));
            break;
        case DebugCode::kWatchValue:
        case DebugCode::kDisplayValue:
            r.send(code, buildText("v:" + *readText(r.payload(), r.payloadLength())));
            break;
        case DebugCode::kWatchAssign:
        case DebugCode::kDisplayAssign:
            r.send(code, buildText(readNameValue(r.payload(), r.payloadLength())->value));
            break;
        case DebugCode::kLocalValues:
        case DebugCode::kWatchValues: {
            const auto names = readTextList(r.payload(), r.payloadLength());
            std::vector<NameValue> values;
            for (const auto& n : names.value_or(std::vector<std::string>{})) values.push_back({n, "=" + n});
            r.send(code, buildNameValueList(values));
            break;
        }
        case DebugCode::kResume: r.send(DebugCode::kEnded); return;
        case DebugCode::kQuit: return;
        default: break;
        }
    }
}

struct Fixture {
    test::TempDir tmp;
    std::string install = tmp.file("varn");
    std::string d = tmp.file("Proj");
    std::string source = d + "/" + kSourceName;
    RecordingUi ui;
    SettingsStore settings;
    SymbolList symbols;
    VARNWorkspaceManager workspace{ui, settings, symbols, install};
    BuildHost buildHost;
    ProjectBuilder builder{workspace, ui, settings, buildHost, install};
    DebuggerLink link;
    Debugger debugger{workspace.project().breakpoints};
    WatchPanes panes;
    FakeHost host;
    std::shared_ptr<RuntimeLog> log = std::make_shared<RuntimeLog>();
    Script script;
    std::vector<std::string> startedArgv;
    ProcessOptions startedOptions;
    int starts = 0;
    DebugControl control{
        DebugContext{workspace, builder, link, debugger, panes, host, ui, settings, install, "VarnIdeMain"},
        [this](const std::vector<std::string>& argv, const ProcessOptions& options)
            -> Result<std::unique_ptr<RunningProgram>> {
            ++starts;
            startedArgv = argv;
            startedOptions = options;
            return std::unique_ptr<RunningProgram>(
                std::make_unique<FakeRuntime>(options.stdinFd, options.stdoutFd, log, script));
        }};

    Fixture() {
        EXPECT_TRUE(link.openIde(ui));
        fsys::createFolders(install);
        fsys::createFolders(d + "/Windows Debug");
        test::writeBytes(install + "/VARNsyms.txt", "");
        test::writeBytes(install + "/varnwin.exe", "runtime");
        test::writeBytes(source, "numeric x;\r\n");
        test::writeBytes(d + "/Windows Debug/demo.vsp", "compiled");
        ProjectModel& m = workspace.project();
        m.projectPath = d + "/Demo.vpj";
        m.workspaceOpen = true;
        m.tree.setProjectRoot(m.projectPath, source);
        m.activeConfiguration = "Windows Debug";
        host.caret = {source, 1};
        host.flags[source];
    }

    // Idle passes until `done` holds; false after three seconds.
    bool idleUntil(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + 3s;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            control.idle();
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }
    // Starts a debug session on `s` and waits for the first stop.
    void debugToFirstStop(Script s) {
        script = std::move(s);
        ASSERT_TRUE(control.debug());
        ASSERT_TRUE(idleUntil([&] { return control.stopped(); }));
    }
    std::size_t receivedCount() { return log->received().size(); }
};

}  // namespace

TEST(DebugControl, RunAndDebugStartTheRuntimeWithTheirArguments) {
    struct Case {
        bool debug;
        bool copyBesideOutput;
    };
    for (const Case c : {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
        Fixture f;
        const std::string output = f.d + "/Windows Debug/demo.vsp";
        std::string runtime = f.install + "/varnwin.exe";
        if (c.copyBesideOutput) {
            runtime = f.d + "/Windows Debug/Demo.exe";
            test::writeBytes(runtime, "copy");
        }
        ASSERT_TRUE(c.debug ? f.control.debug() : f.control.run());
        std::vector<std::string> expected = {runtime, output};
        if (c.debug) expected.insert(expected.end(), {"-Debugger", "VarnIdeMain"});
        expected.push_back("-EscapeEnabled");
        EXPECT_EQ(f.startedArgv, expected);
        EXPECT_EQ(f.startedOptions.workingFolder, f.d + "/Windows Debug");
        EXPECT_EQ(f.startedOptions.stdinFd, c.debug ? f.link.runtimeInputFd() : -1);
        EXPECT_EQ(f.startedOptions.stdoutFd, c.debug ? f.link.runtimeOutputFd() : -1);
        EXPECT_EQ(f.control.debugMode(), c.debug);
        EXPECT_EQ(f.host.layouts, std::vector<bool>{c.debug});
        // The scripted program ends at once; the process watch forgets it.
        EXPECT_TRUE(f.idleUntil([&] { return !f.control.programWatched(); }));
        EXPECT_FALSE(f.control.debugMode());
    }
}

TEST(DebugControl, FailedRebuildStartsNothing) {
    Fixture f;
    fsys::removeFile(f.d + "/Windows Debug/demo.vsp");
    f.ui.answers.push_back(Answer::Yes);  // rebuild: there is no compiler
    EXPECT_FALSE(f.control.debug());
    EXPECT_EQ(f.starts, 0);
    EXPECT_EQ(f.ui.lastText(), ProjectBuilder::kNoCompiler);
}

TEST(DebugControl, CommandsAreEnabledByConfigurationAndState) {
    using C = DebugCommand;
    struct Case {
        const char* configuration;
        bool projectOpen;
        bool run, debug, breakpoint;
    };
    const std::vector<Case> cases = {
        {"Windows Debug", true, true, true, true},
        {"Windows Release", true, true, false, false},
        {"windows debug", true, true, true, true},
        {"WINDOWS RELEASE", true, true, false, false},
        {"PalmOS Debug", true, false, false, false},
        {"Windows Debug", false, false, false, false},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.workspace.project().activeConfiguration = c.configuration;
        f.workspace.project().workspaceOpen = c.projectOpen;
        EXPECT_EQ(f.control.enabled(C::Run, true), c.run) << c.configuration;
        EXPECT_EQ(f.control.enabled(C::Debug, true), c.debug) << c.configuration;
        EXPECT_EQ(f.control.enabled(C::Breakpoint, true), c.breakpoint) << c.configuration;
        EXPECT_EQ(f.control.enabled(C::RemoveAllBreakpointsAlt, true), c.breakpoint) << c.configuration;
        EXPECT_FALSE(f.control.enabled(C::Breakpoint, false));
        for (C stepping : {C::Step, C::StepOver, C::RunToCursor, C::Resume, C::QuitDebugger, C::ShowNextStatement,
                           C::DisplayVariable, C::AddVariable})
            EXPECT_FALSE(f.control.enabled(stepping, true));
    }
    Fixture f;
    f.debugToFirstStop([&](FakeRuntime& r) { goodRuntime(r, f.source); });
    for (C stepping : {C::Step, C::StepOver, C::RunToCursor, C::Resume, C::QuitDebugger, C::ShowNextStatement,
                       C::DisplayVariable, C::AddVariable})
        EXPECT_TRUE(f.control.enabled(stepping, true));
    EXPECT_FALSE(f.control.enabled(C::Run, true));
    EXPECT_FALSE(f.control.enabled(C::Debug, true));
    f.control.resume();
    EXPECT_FALSE(f.control.enabled(C::QuitDebugger, true));  // running: no quitting
    EXPECT_TRUE(f.idleUntil([&] { return !f.control.debugMode(); }));
}

TEST(DebugControl, StopMarksTheLineAndFirstBreakpointsFollowTheFileList) {
    Fixture f;
    f.host.flags[f.source] = {3};
    f.host.flags["/elsewhere/other.vsl"] = {5};
    f.debugToFirstStop([&](FakeRuntime& r) { goodRuntime(r, f.source); });
    EXPECT_EQ(f.log->received(), std::vector<std::uint32_t>{DebugCode::kBreakpoints});
    EXPECT_EQ(f.log->payload(0), buildBreakpointPairs({{3, 0}}));  // the unlisted file is left out
    EXPECT_EQ(f.host.opened, (std::vector<std::pair<std::string, int>>{{f.source, 0}}));
    EXPECT_EQ(f.host.fronts, 1);
    EXPECT_EQ(f.workspace.project().breakpoints.size(), 2u);
    f.control.quitDebugger();
    EXPECT_FALSE(f.control.debugMode());
    EXPECT_EQ(f.host.layouts, (std::vector<bool>{true, false}));
}

TEST(DebugControl, ToggledBreakpointIsSentAndAnsweredBeforeTheNextStep) {
    Fixture f;
    f.debugToFirstStop([&](FakeRuntime& r) { goodRuntime(r, f.source); });
    f.host.caret.line = 4;
    f.control.toggleBreakpoint();
    f.control.step();
    EXPECT_FALSE(f.control.stopped());
    ASSERT_TRUE(f.idleUntil([&] { return f.control.stopped(); }));
    EXPECT_EQ(f.log->received(),
              (std::vector<std::uint32_t>{DebugCode::kBreakpoints, DebugCode::kBreakpoints, DebugCode::kStepInto}));
    EXPECT_EQ(f.log->payload(1), buildBreakpointPairs({{4, 0}}));
    // The reply to the breakpoints (a fresh stop) was handled before the step.
    EXPECT_EQ(f.host.opened.size(), 3u);
    EXPECT_EQ(f.debugger.stopLine, 2);

    // Nothing changed: the next commands go out alone.
    f.control.stepOver();
    ASSERT_TRUE(f.idleUntil([&] { return f.control.stopped(); }));
    f.host.caret.line = 9;
    f.control.runToCursor();
    ASSERT_TRUE(f.idleUntil([&] { return f.control.stopped(); }));
    const auto codes = f.log->received();
    EXPECT_EQ(std::vector<std::uint32_t>(codes.begin() + 3, codes.end()),
              (std::vector<std::uint32_t>{DebugCode::kStepOver, DebugCode::kRunToLine}));
    EXPECT_EQ(f.log->payload(4), buildLineAndPath(9, f.source));
    EXPECT_EQ(f.debugger.stopLine, 9);
    f.control.showNextStatement();
    EXPECT_EQ(f.host.opened.back(), std::make_pair(f.source, 8));

    // Remove All also counts as a change.
    f.control.removeAllBreakpoints();
    EXPECT_TRUE(f.workspace.project().breakpoints.empty());
    f.control.resume();
    EXPECT_TRUE(f.idleUntil([&] { return !f.control.programWatched(); }));
    EXPECT_FALSE(f.control.debugMode());
    EXPECT_EQ(f.log->received().back(), DebugCode::kResume);
    EXPECT_EQ(f.log->payload(f.receivedCount() - 2), buildBreakpointPairs({}));
}

TEST(DebugControl, PanesAreFilledFromTheRuntime) {
    Fixture f;
    f.panes.loadWatchLists({std::vector<std::string>{"count", "Name"}, {}, {"z"}});
    f.debugToFirstStop([&](FakeRuntime& r) {
        goodRuntime(r, f.source, [&](FakeRuntime& rt, std::uint32_t code) {
            if (code != DebugCode::kStepInto) return false;
            rt.send(DebugCode::kLocalNames, buildTextList({"i", "j"}));
            if (rt.receive() != DebugCode::kLocalsAck) return true;
            rt.send(DebugCode::kStopped, buildLineAndPath(2, f.source));
            return true;
        });
    });
    // The stop refreshed the watch panes that have names: pane 1 and pane 3.
    EXPECT_EQ(f.log->received(),
              (std::vector<std::uint32_t>{DebugCode::kBreakpoints, DebugCode::kWatchValues, DebugCode::kWatchValues}));
    EXPECT_EQ(f.log->payload(1), buildTextList({"count", "Name"}));
    EXPECT_EQ(f.panes.items(0), (std::vector<WatchItem>{{"count", "=count"}, {"Name", "=Name"}}));
    EXPECT_EQ(f.panes.items(2), (std::vector<WatchItem>{{"z", "=z"}}));

    f.control.step();
    ASSERT_TRUE(f.idleUntil([&] { return f.control.stopped(); }));
    EXPECT_EQ(f.panes.items(WatchPanes::kLocals), (std::vector<WatchItem>{{"i", "=i"}, {"j", "=j"}}));
    const auto codes = f.log->received();
    EXPECT_EQ(std::vector<std::uint32_t>(codes.begin() + 3, codes.end()),
              (std::vector<std::uint32_t>{DebugCode::kStepInto, DebugCode::kLocalsAck, DebugCode::kWatchValues,
                                          DebugCode::kWatchValues, DebugCode::kLocalValues}));
    f.control.resume();
    ASSERT_TRUE(f.idleUntil([&] { return !f.control.debugMode(); }));
    EXPECT_TRUE(f.panes.items(WatchPanes::kLocals).empty());
}

TEST(DebugControl, VariableRequests) {
    Fixture f;
    EXPECT_FALSE(f.control.checkVariableCommand());
    EXPECT_EQ(f.ui.lastText(), DebugControl::kAddNotRunning);
    EXPECT_FALSE(f.control.checkItemDoubleClick());
    EXPECT_EQ(f.ui.lastText(), DebugControl::kViewNotRunning);

    f.debugToFirstStop([&](FakeRuntime& r) {
        goodRuntime(r, f.source, [](FakeRuntime& rt, std::uint32_t code) {
            if (code != DebugCode::kWatchValue) return false;
            const std::string name = *readText(rt.payload(), rt.payloadLength());
            if (name == "bad") rt.send(code, buildText(ValueTip::kInvalidReply));
            else if (name == "long") rt.send(code, buildText(std::string(100, 'x')));
            else return false;
            return true;
        });
    });
    f.ui.clear();
    EXPECT_TRUE(f.control.checkVariableCommand());
    EXPECT_EQ(f.control.requestValue("  total ", DebugControl::VariableMode::Display), "v:total");
    EXPECT_EQ(f.log->received().back(), DebugCode::kDisplayValue);
    EXPECT_EQ(f.control.requestValue("   ", DebugControl::VariableMode::Watch), std::nullopt);

    f.panes.activePane = 1;
    EXPECT_TRUE(f.control.addWatch("total"));
    EXPECT_EQ(f.panes.items(1), (std::vector<WatchItem>{{"total", "v:total"}}));
    EXPECT_EQ(f.control.changeValue("total", "5", DebugControl::VariableMode::Watch), "5");
    const auto codes = f.log->received();
    EXPECT_EQ(std::vector<std::uint32_t>(codes.end() - 3, codes.end()),
              (std::vector<std::uint32_t>{DebugCode::kWatchValue, DebugCode::kWatchAssign, DebugCode::kWatchValues}));
    EXPECT_EQ(f.log->payload(f.receivedCount() - 2), buildNameValue("total", "5"));
    EXPECT_TRUE(f.control.deleteWatch("TOTAL"));
    EXPECT_TRUE(f.panes.items(1).empty());
    f.panes.activePane = WatchPanes::kLocals;
    EXPECT_FALSE(f.control.addWatch("total"));  // no watch on the Locals tab

    EXPECT_EQ(f.control.valueTip("a = total + 1", 6), "total = v:total");
    EXPECT_EQ(f.control.valueTip("a = bad", 5), std::nullopt);
    EXPECT_EQ(f.control.valueTip("a = long", 5), "long = " + std::string(69, 'x') + "...");
    f.settings.setInt("Settings", "ShowDebugDataPopups", 0);
    const std::size_t before = f.receivedCount();
    EXPECT_EQ(f.control.valueTip("a = total", 5), std::nullopt);
    EXPECT_EQ(f.receivedCount(), before);
    EXPECT_TRUE(f.ui.messages.empty());
    f.control.quitDebugger();
}

TEST(DebugControl, BrokenConversationsEndTheSessionInTime) {
    struct Case {
        const char* what;
        std::function<void(FakeRuntime&)> answer;  // to a request for watch values
        bool staysAlive;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"count beyond the entries", [](FakeRuntime& r) { r.send(DebugCode::kWatchValues, {5, 0, 'a', 0}); }, true,
         DebugControl::kBadMessage},
        {"empty payload", [](FakeRuntime& r) { r.send(DebugCode::kWatchValues, {}); }, true,
         DebugControl::kBadMessage},
        {"wrong code", [](FakeRuntime& r) { r.send(DebugCode::kStopped, buildLineAndPath(1, "x")); }, true,
         DebugControl::kBadMessage},
        {"unknown code", [](FakeRuntime& r) { r.send(777, {}); }, true, DebugControl::kBadMessage},
        {"truncated code", [](FakeRuntime& r) { r.write({20, 0}); }, true, DebuggerLink::kTruncated},
        {"dies without a reply", [](FakeRuntime&) {}, false, DebuggerLink::kProgramEnded},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.debugToFirstStop([&](FakeRuntime& r) {
            r.send(DebugCode::kFileList, buildTextList({f.source}));
            r.receive();
            r.send(DebugCode::kStopped, buildLineAndPath(1, f.source));
            if (r.receive() != DebugCode::kWatchValues) return;
            c.answer(r);
            if (c.staysAlive) r.receive();  // until told to stop
        });
        f.panes.add(0, "x");
        f.ui.clear();
        const auto start = std::chrono::steady_clock::now();
        f.control.refreshPane(0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << c.what;
        EXPECT_FALSE(f.control.debugMode()) << c.what;
        EXPECT_FALSE(f.control.stopped()) << c.what;
        EXPECT_FALSE(f.control.hasDebugProcess()) << c.what;
        EXPECT_EQ(f.ui.lastText(), c.message) << c.what;
        EXPECT_EQ(f.host.layouts.back(), false) << c.what;
        EXPECT_FALSE(f.control.idle()) << c.what;
    }
}

TEST(DebugControl, ARuntimeThatEndsWithoutSayingSoEndsDebugMode) {
    Fixture f;
    f.panes.add(WatchPanes::kLocals, "stale");
    f.script = [&](FakeRuntime& r) {
        r.send(DebugCode::kFileList, buildTextList({f.source}));
        r.receive();
        r.send(DebugCode::kStopped, buildLineAndPath(1, f.source));
    };
    ASSERT_TRUE(f.control.debug());
    EXPECT_TRUE(f.idleUntil([&] { return !f.control.debugMode(); }));
    EXPECT_FALSE(f.control.hasDebugProcess());
    EXPECT_TRUE(f.panes.items(WatchPanes::kLocals).empty());
    EXPECT_EQ(f.host.layouts, (std::vector<bool>{true, false}));
    EXPECT_TRUE(f.control.enabled(DebugCommand::Debug, true));
}

TEST(DebugControl, ProjectNameWithQuotesIsOneRuntimeArgument) {
    Fixture f;
    ProjectModel& m = f.workspace.project();
    m.projectPath = f.d + "/My\" -Debugger \"x.vpj";
    const std::string output = f.d + "/Windows Debug/my\" -debugger \"x.vsp";
    test::writeBytes(output, "compiled");
    ASSERT_TRUE(f.control.run()) << f.ui.lastText();
    EXPECT_EQ(f.startedArgv, (std::vector<std::string>{f.install + "/varnwin.exe", output, "-EscapeEnabled"}));
    EXPECT_TRUE(f.idleUntil([&] { return !f.control.programWatched(); }));
}
