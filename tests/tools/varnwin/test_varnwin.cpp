// The desktop runtime as a process: its exit codes in run mode, the
// container checks, and the debugger conversation over real pipes with a
// scripted IDE side that uses the core link in the IDE role.

#include <cctype>
#include <chrono>
#include <memory>
#include <ostream>
#include <thread>

#include "../common/ToolTest.h"
#include "app/RecordingUi.h"
#include "debug/DebugMessage.h"
#include "debug/DebuggerLink.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace varn {
// Readable failures for the message fields.
void PrintTo(const LineAndPath& s, std::ostream* os) { *os << s.path << ":" << s.line; }
void PrintTo(const NameValue& p, std::ostream* os) { *os << p.name << "=" << p.value; }
}  // namespace varn

namespace varn::tooltest {
namespace {

using Clock = std::chrono::steady_clock;
namespace DC = varn::DebugCode;
const std::string kInvalid = "<Invalid expression>";

std::string runtime() { return sharePath("VarnWin.exe"); }

// ------------------------------------------------------------ run mode

// A hand-written container with one source whose startup sets a variable.
const std::string kText = "function startup()\n  a = 1;\nend;\n";
const std::string kFile = "file 0 " + std::to_string(kText.size()) + " /p/main.vsl";
std::string container(const std::string& fileRecord = kFile,
                      const std::string& tail = "unit 1 main 0\nfunction 0 1 startup()\nend\n") {
    return "VARNOUT 1\ntarget win32\noption -win32\n" + fileRecord + "\n" + kText + "\n" + tail;
}

struct RunCase {
    const char* label;
    std::string bytes;      // the program file; empty: none is written
    std::string arguments;  // after the program path; "@" alone: no program path
    int status;
    std::string message;  // part of standard error
};
void PrintTo(const RunCase& c, std::ostream* os) { *os << c.label; }

class Run : public ::testing::TestWithParam<RunCase> {};

TEST_P(Run, EndsWithItsExitCode) {
    const RunCase& c = GetParam();
    varn::test::TempDir dir;
    if (!c.bytes.empty()) writeBytes(dir.file("main.vsp"), c.bytes);
    std::string args = c.arguments == "@" ? "" : shellQuote(dir.file("main.vsp")) + " " + c.arguments;
    ProcessOutput p = runCommand(shellQuote(runtime()) + " " + args);
    EXPECT_EQ(p.status, c.status) << p.err;
    EXPECT_NE(p.err.find(c.message), std::string::npos) << p.err;
    EXPECT_EQ(p.out, "") << "standard output is the debugger's pipe";
}

const std::string k13Digits = "1234567890123";

INSTANTIATE_TEST_SUITE_P(
    Containers, Run,
    ::testing::Values(
        RunCase{"Good", container(), "-EscapeEnabled", 0, ""},
        RunCase{"NoStartup", container(kFile, "end\n"), "", 0, ""},
        RunCase{"Missing", "", "-EscapeEnabled", 1, "cannot open the program"},
        RunCase{"Empty", "\n", "", 1, "no \"VARNOUT 1\" line"},
        RunCase{"OtherVersion", "VARNOUT 2\nend\n", "", 1, "byte 0: not a VARN program"},
        RunCase{"CountTooLarge", container("file 0 999999999999 /p/main.vsl"), "", 1, "does not match its count"},
        RunCase{"CountTooSmall", container("file 0 5 /p/main.vsl"), "", 1, "does not match its count"},
        RunCase{"CountTooLong", container("file 0 " + k13Digits + " /p/main.vsl"), "", 1, "bad file record"},
        RunCase{"FileOutOfOrder", container("file 1" + kFile.substr(6)), "", 1, "file 1 out of order (expected 0)"},
        RunCase{"Image", container("image icon Main 3\nabc\nfile 0 " + std::to_string(kText.size()) + " /p/main.vsl"),
                "", 0, ""},
        RunCase{"ImageCut",
                container("image icon Main 9\nabc\nfile 0 " + std::to_string(kText.size()) + " /p/main.vsl"), "", 1,
                "image Main does not match its count"},
        RunCase{"UnitFileMissing", container(kFile, "unit 1 main 3\nend\n"), "", 1, "unit names file 3"},
        RunCase{"UnitRole", container(kFile, "unit 1 header 0\nend\n"), "", 1, "bad unit record"},
        RunCase{"FunctionBeyondEnd", container(kFile, "function 0 4 startup()\nend\n"), "", 1,
                "at line 4 beyond the end of /p/main.vsl"},
        RunCase{"FunctionNotAtHeader", container(kFile, "function 0 2 startup()\nend\n"), "", 1,
                "function startup() is not declared at line 2"},
        RunCase{"UnknownRecord", container(kFile, "resource 1\nend\n"), "", 1, "unknown record \"resource\""},
        RunCase{"NoEnd", container(kFile, ""), "", 1, "the end record is missing"},
        RunCase{"AfterEnd", container() + "end\n", "", 1, "data after the end record"},
        RunCase{"LastLineOpen", container().substr(0, container().size() - 1), "", 1, "record without a line end"}));

INSTANTIATE_TEST_SUITE_P(
    Arguments, Run,
    ::testing::Values(RunCase{"NoProgram", container(), "@", 2, "no program named"},
                      RunCase{"UnknownSwitch", container(), "-Fast", 2, "unknown switch -Fast"},
                      RunCase{"DebuggerWithoutClass", container(), "-Debugger", 2, "needs the window class"},
                      RunCase{"DebuggerBeforeSwitch", container(), "-Debugger -EscapeEnabled", 2,
                              "needs the window class"},
                      RunCase{"TwoPrograms", container(), "other.vsp", 2, "a second program path other.vsp"}));

// ------------------------------------------------------- compiled programs

class Compiled : public ::testing::Test {
protected:
    varn::test::TempDir dir;
    std::string mainPath() const { return dir.file("main.vsl"); }
    std::string libPath() const { return dir.file("lib.vsl"); }
    std::string program() const { return dir.file("out/main.vsp"); }

    void compile(const std::string& mainText, const std::string& libText = "") {
        writeBytes(mainPath(), mainText);
        if (!libText.empty()) writeBytes(libPath(), libText);
        ProcessOutput p = compileIn(
            dir.path(), {"-win32", "-output=" + program(), "-define:IDE__PASS=1", mainPath(), "-define:IDE__PASS=2"});
        ASSERT_EQ(p.status, 0) << joinLines(logLines(dir.file("varn_c.log")));
    }
};

// The IDE names the runtime "varnwin.exe" for Run and finds it by case.
TEST_F(Compiled, RunsToTheEndUnderBothNamesAndFindsTheProgramWithoutRegardToCase) {
    compile("function startup()\n  x = 1;\nend;\n");
    const std::string lowerName = fsys::resolveCase(sharePath("varnwin.exe"));
    const std::vector<std::pair<std::string, std::string>> runs = {
        {runtime(), program()}, {runtime(), dir.file("OUT/Main.VSP")}, {lowerName, program()}};
    for (const auto& [runner, path] : runs) {
        ProcessOutput p = runCommand(shellQuote(runner) + " " + shellQuote(path) + " -EscapeEnabled");
        EXPECT_EQ(p.status, 0) << runner << " " << path << ": " << p.err;
    }
}

TEST_F(Compiled, RunawayRecursionEndsTheProgramWithAnError) {
    compile("function startup()\n  deeper(1);\nend;\n\nfunction deeper(n)\n  deeper(n + 1);\nend;\n");
    ProcessOutput p = runCommand(shellQuote(runtime()) + " " + shellQuote(program()));
    EXPECT_EQ(p.status, 1);
    EXPECT_NE(p.err.find(mainPath() + ", line 6: calls nested more than 200 deep (calling deeper)"), std::string::npos)
        << p.err;
}

// ------------------------------------------------------------ debug mode

// The IDE's side of the link, driving one runtime. Every wait is bounded:
// a receive gives up when the runtime has ended or after kLimit.
class IdeSide {
public:
    static constexpr auto kLimit = std::chrono::seconds(10);

    explicit IdeSide(const std::string& program) : link_(std::make_unique<DebuggerLink>()) {
        if (!link_->openIde(ui_)) return;
        ProcessOptions options;
        options.inheritStdHandles = true;  // its messages reach the test's standard error
        options.stdinFd = link_->runtimeInputFd();
        options.stdoutFd = link_->runtimeOutputFd();
        auto started =
            Process::start(runtime(), {program, "-Debugger", "VarnIdeMainWindow", "-EscapeEnabled"}, options);
        if (!started) return;
        process_ = std::move(*started);
        deadline_ = Clock::now() + kLimit;
        link_->setPeerAlive([this] { return !process_.poll() && Clock::now() < deadline_; });
    }
    ~IdeSide() {
        if (process_.running()) process_.kill();
    }

    std::uint32_t next() {
        if (!link_) return 0;
        std::uint32_t code = link_->receive(true);
        payload_.assign(link_->payload(), link_->payload() + link_->payloadLength());
        return code;
    }
    void send(std::uint32_t code, const Payload& payload = {}) { EXPECT_TRUE(link_->send(code, payload)); }

    std::vector<std::string> files() {
        EXPECT_EQ(next(), DC::kFileList);
        return readTextList(payload_.data(), payload_.size()).value_or(std::vector<std::string>{"<damaged>"});
    }
    // Takes a code 18 and acknowledges it.
    std::vector<std::string> locals() {
        EXPECT_EQ(next(), DC::kLocalNames);
        send(DC::kLocalsAck);
        return readTextList(payload_.data(), payload_.size()).value_or(std::vector<std::string>{"<damaged>"});
    }
    LineAndPath stopped() {
        EXPECT_EQ(next(), DC::kStopped);
        return readLineAndPath(payload_.data(), payload_.size()).value_or(LineAndPath{-1, "<damaged>"});
    }
    std::string ask(std::uint32_t code, const std::string& name) {
        send(code, buildText(name));
        EXPECT_EQ(next(), code) << name;
        return readText(payload_.data(), payload_.size()).value_or("<damaged>");
    }
    std::string assign(std::uint32_t code, const std::string& name, const std::string& value) {
        send(code, buildNameValue(name, value));
        EXPECT_EQ(next(), code) << name;
        return readText(payload_.data(), payload_.size()).value_or("<damaged>");
    }
    std::vector<NameValue> values(std::uint32_t code, const std::vector<std::string>& names) {
        send(code, buildTextList(names));
        EXPECT_EQ(next(), code);
        return readNameValueList(payload_.data(), payload_.size()).value_or(std::vector<NameValue>{});
    }
    void breakpoints(const std::vector<BreakpointPair>& pairs) { send(DC::kBreakpoints, buildBreakpointPairs(pairs)); }

    // The IDE goes away: its ends of both pipes close.
    void close() { link_.reset(); }

    // The runtime's exit code once it has ended, -1 when it had to be killed.
    int exitCode(std::chrono::milliseconds within = std::chrono::milliseconds(3000)) {
        const auto until = Clock::now() + within;
        while (!process_.poll() && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!process_.poll()) {
            process_.kill();
            return -1;
        }
        return process_.exitCode().value_or(-1);
    }

private:
    RecordingUi ui_;
    std::unique_ptr<DebuggerLink> link_;
    Process process_;
    Clock::time_point deadline_;
    Payload payload_;
};

// Line numbers matter: the expectations below name them.
const std::string kMain =
    "# The program the debugger tests walk through.\n"  // 1
    "limit = 10;\n"                                     // 2
    "name = \"Varn\";\n"                                // 3
    "include \"lib.vsl\"\n"                             // 4
    "function startup()\n"                              // 5
    "  a = 1;\n"                                        // 6
    "  b = a + limit;   # globals are visible\n"        // 7
    "  twice(b, \"x\");\n"                              // 8
    "  c = b * 2; greet(name);\n"                       // 9
    "  done = 1;\n"                                     // 10
    "end;\n";                                           // 11
const std::string kLib =
    "function twice(n, label)\n"                            // 1
    "  r = n * 2;\n"                                        // 2
    "  label = label + \"y\";\n"                            // 3
    "  return;\n"                                           // 4
    "  r = 0;\n"                                            // 5
    "end;\n"                                                // 6
    "\n"                                                    // 7
    "function greet(who)\n"                                 // 8
    "  message_box(0, \"Hi\", who, \"OK\", \"\", \"\");\n"  // 9
    "  limit = limit + 1;\n"                                // 10
    "end;\n";                                               // 11

using Names = std::vector<std::string>;
using Pairs = std::vector<NameValue>;

class Debug : public Compiled {
protected:
    void SetUp() override { compile(kMain, kLib); }
    LineAndPath main(int line) const { return {line, mainPath()}; }
    LineAndPath lib(int line) const { return {line, libPath()}; }
};

TEST_F(Debug, StepsThroughCallsAndAnswersForTheFunctionItStopsIn) {
    IdeSide ide(program());
    EXPECT_EQ(ide.files(), (Names{mainPath(), libPath()}));
    ide.breakpoints({{3, 1}, {2, 7}});  // index 7 names no file and is left out
    EXPECT_EQ(ide.locals(), (Names{"a", "b", "c", "done"})) << "globals are not locals";
    EXPECT_EQ(ide.stopped(), main(6)) << "before the first statement";

    ide.send(DC::kStepOver);
    EXPECT_EQ(ide.stopped(), main(7));
    EXPECT_EQ(ide.ask(DC::kDisplayValue, "a"), "1");
    ide.send(DC::kStepInto);
    EXPECT_EQ(ide.stopped(), main(8));
    ide.send(DC::kStepInto);
    EXPECT_EQ(ide.locals(), (Names{"n", "label", "r"})) << "parameters first";
    EXPECT_EQ(ide.stopped(), lib(2));
    EXPECT_EQ(ide.values(DC::kLocalValues, {"n", "label", "r", "a"}),
              (Pairs{{"n", "11"}, {"label", "x"}, {"r", "0"}, {"a", kInvalid}}))
        << "the caller's locals are out of sight";

    ide.send(DC::kStepOver);
    EXPECT_EQ(ide.stopped(), lib(3));
    EXPECT_EQ(ide.assign(DC::kWatchAssign, "r", "r + 1"), "23");
    EXPECT_EQ(ide.assign(DC::kDisplayAssign, "label", "not an expression"), "not an expression");
    EXPECT_EQ(ide.assign(DC::kDisplayAssign, "n", "abc"), kInvalid) << "a number keeps its value";
    EXPECT_EQ(ide.assign(DC::kWatchAssign, "nothing", "1"), kInvalid);
    EXPECT_EQ(ide.values(DC::kWatchValues, {"r", "label", "n", "LIMIT", "ghost"}),
              (Pairs{{"r", "23"}, {"label", "not an expression"}, {"n", "11"}, {"LIMIT", "10"}, {"ghost", kInvalid}}));

    ide.send(DC::kStepOver);
    EXPECT_EQ(ide.stopped(), lib(4));
    ide.send(DC::kStepOver);
    EXPECT_EQ(ide.stopped(), main(9)) << "return leads back to the caller, past line 5 of lib";
    EXPECT_EQ(ide.ask(DC::kWatchValue, "c"), "0");

    ide.send(DC::kStepOver);  // over greet(), entered without a stop
    EXPECT_EQ(ide.locals(), (Names{"who"}));
    EXPECT_EQ(ide.stopped(), main(10));
    EXPECT_EQ(ide.ask(DC::kWatchValue, "limit"), "11");
    ide.send(DC::kResume);
    EXPECT_EQ(ide.next(), DC::kEnded);
    EXPECT_EQ(ide.exitCode(), 0);
}

TEST_F(Debug, RunsToALineAndToBreakpointsSentWhileStopped) {
    IdeSide ide(program());
    ide.files();
    ide.breakpoints({});
    ide.locals();
    EXPECT_EQ(ide.stopped(), main(6));

    std::string shouted = mainPath();
    for (char& ch : shouted) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    ide.send(DC::kRunToLine, buildLineAndPath(9, shouted));
    EXPECT_EQ(ide.locals(), (Names{"n", "label", "r"}));
    EXPECT_EQ(ide.stopped(), main(9)) << "the path compares without regard to case";

    ide.breakpoints({{10, 1}, {10, 0}});
    EXPECT_EQ(ide.stopped(), main(9)) << "a new set is answered with the stop position";
    ide.send(DC::kResume);
    EXPECT_EQ(ide.locals(), (Names{"who"}));
    EXPECT_EQ(ide.stopped(), lib(10));
    ide.send(DC::kResume);
    EXPECT_EQ(ide.stopped(), main(10));
    EXPECT_EQ(ide.ask(DC::kDisplayValue, "c"), "22");

    ide.send(DC::kQuit);
    EXPECT_EQ(ide.exitCode(), 0);
}

// Evaluation and assignment at the first stop, in order: each row's request
// sees the effect of the rows before it.
struct Exchange {
    std::uint32_t code;
    std::string name;
    std::string value;  // assignments only
    std::string reply;
};

TEST_F(Debug, EvaluatesExpressionsWithTheProgramsValues) {
    const std::string longText(300, 'x');
    const std::vector<Exchange> table = {
        {DC::kDisplayValue, "limit", "", "10"},
        {DC::kDisplayValue, "  name ", "", "Varn"},
        {DC::kWatchValue, "LIMIT / 4 + 1", "", "3.5"},
        {DC::kWatchValue, "limit / 3", "", "3.33333"},
        {DC::kWatchValue, "limit * 1e7", "", "1e+08"},
        {DC::kWatchValue, "name + \"!\" # comment", "", "Varn!"},
        {DC::kWatchValue, "length(name)", "", "4"},
        {DC::kWatchValue, "a", "", "0"},
        {DC::kWatchValue, "", "", kInvalid},
        {DC::kWatchValue, "nothing", "", kInvalid},
        {DC::kWatchValue, "twice(1, 2)", "", kInvalid},
        // Values go back to the evaluator exactly, whatever they hold.
        {DC::kDisplayAssign, "name", "say \"hi\" \\ now", "say \"hi\" \\ now"},
        {DC::kWatchValue, "name + \"!\"", "", "say \"hi\" \\ now!"},
        {DC::kDisplayAssign, "name", longText, longText},
        {DC::kWatchValue, "length(name)", "", "300"},
        {DC::kWatchAssign, "name", "\"a\" + char(10) + \"b\"", "a\nb"},
        {DC::kWatchValue, "length(name + name)", "", "6"},
        {DC::kWatchAssign, "limit", "0.1 + 0.2", "0.3"},
        {DC::kWatchValue, "limit = 0.3", "", "0"},
        {DC::kWatchAssign, "limit", "-5", "-5"},
        {DC::kWatchValue, "-limit * limit", "", "-25"},
        {DC::kWatchAssign, "limit", "abc", kInvalid},
        {DC::kWatchValue, "limit", "", "-5"},
        {DC::kWatchAssign, "limit", "limit * limit + length(name)", "28"},
        {DC::kDisplayAssign, "a.b", "1", kInvalid},
    };
    IdeSide ide(program());
    ide.files();
    ide.breakpoints({});
    ide.locals();
    ASSERT_EQ(ide.stopped(), main(6));
    for (const Exchange& x : table) {
        bool assign = x.code == DC::kWatchAssign || x.code == DC::kDisplayAssign;
        EXPECT_EQ(assign ? ide.assign(x.code, x.name, x.value) : ide.ask(x.code, x.name), x.reply)
            << "request " << x.code << " " << x.name << " " << x.value;
    }
    ide.send(DC::kResume);
    ide.locals();  // twice
    ide.locals();  // greet
    EXPECT_EQ(ide.next(), DC::kEnded);
    EXPECT_EQ(ide.exitCode(), 0);
}

TEST_F(Debug, AProgramWithoutStartupEndsAtOnce) {
    compile("x = 1;\n");
    IdeSide ide(program());
    EXPECT_EQ(ide.files(), (Names{mainPath()}));
    ide.breakpoints({{1, 0}});
    EXPECT_EQ(ide.next(), DC::kEnded);
    EXPECT_EQ(ide.exitCode(), 0);
}

// The IDE going away ends the runtime wherever it waits.
TEST_F(Debug, EndsPromptlyWhenTheIdeCloses) {
    for (int stage = 0; stage < 3; ++stage) {
        IdeSide ide(program());
        ide.files();
        if (stage >= 1) ide.breakpoints({});
        if (stage >= 2) {
            ide.locals();
            ide.stopped();
        }
        const auto closed = Clock::now();
        ide.close();
        EXPECT_EQ(ide.exitCode(), 0) << "stage " << stage;
        EXPECT_LT(Clock::now() - closed, std::chrono::seconds(2)) << "stage " << stage;
    }
}

}  // namespace
}  // namespace varn::tooltest
