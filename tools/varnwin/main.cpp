// VarnWin.exe: the stand-in desktop runtime.
//
//   VarnWin.exe "<program>.vsp" [-Debugger <window class>] [-EscapeEnabled]
//
// Reads the compiler's output container and runs the program in it (see
// Program.h for the part of VARN it understands). There is no window: the
// program runs to its end and the runtime exits with 0, or 1 when the
// container cannot be read or an error ends the program; 2 for bad
// arguments. Messages go to standard error.
//
// With -Debugger the runtime is being debugged by the IDE that started it:
// standard input and output are the two pipes of the debugger link, and it
// speaks the link's messages over them (DebugSession.h). It ends when the
// IDE quits the debugger, when the link closes and when the IDE, its parent
// process, is gone. The window class names the IDE's main window; a
// runtime without windows has no use for it.

#include "Container.h"
#include "DebugSession.h"
#include "Interpreter.h"
#include "Program.h"
#include "ToolSupport.h"
#include "app/Ui.h"
#include "debug/DebuggerLink.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

using namespace varntool;

struct Arguments {
    std::string program;
    bool debugger = false;
    std::string windowClass;
};

void say(const std::string& text) { std::fprintf(stderr, "varnwin: %s\n", text.c_str()); }

bool parseArguments(int argc, char** argv, Arguments& args) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (equalsNoCase(a, "-Debugger")) {
            if (args.debugger || i + 1 >= argc || argv[i + 1][0] == '\0' || argv[i + 1][0] == '-') {
                say("-Debugger needs the window class of the IDE");
                return false;
            }
            args.debugger = true;
            args.windowClass = argv[++i];
        } else if (equalsNoCase(a, "-EscapeEnabled")) {
            // The escape key may end the program; without a window there is no key.
        } else if (!a.empty() && a[0] == '-') {
            say("unknown switch " + a);
            return false;
        } else if (!args.program.empty() || a.empty()) {
            say(a.empty() ? "empty program path" : "a second program path " + a);
            return false;
        } else {
            args.program = a;
        }
    }
    if (args.program.empty()) {
        say("no program named");
        return false;
    }
    return true;
}

bool load(const std::string& path, varnwin::Program& program) {
    std::optional<std::string> found = resolvePath(path);
    std::string bytes;
    if (!found || !isFile(*found) || !readFile(*found, bytes)) {
        say("cannot open the program " + path);
        return false;
    }
    varnwin::Container container;
    std::string error;
    if (!varnwin::readContainer(bytes, container, error) || !varnwin::buildProgram(container, program, error)) {
        say(*found + " is not a valid program: " + error);
        return false;
    }
    return true;
}

int debug(varnwin::Interpreter& interpreter) {
    varn::HeadlessUi ui;  // link failures are written to standard error
    varn::DebuggerLink link;
    link.openRuntime(ui, 0, 1);
    const pid_t ide = ::getppid();
    link.setPeerAlive([ide] { return ::getppid() == ide; });
    varnwin::DebugSession session(link, interpreter);
    try {
        session.start();
        const int status = interpreter.run(&session);
        session.finish();
        return status;
    } catch (const varnwin::EndProgram& end) {
        return end.status;
    }
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!parseArguments(argc, argv, args)) {
        std::fprintf(stderr, "usage: VarnWin.exe \"<program>.vsp\" [-Debugger <window class>] [-EscapeEnabled]\n");
        return 2;
    }
    varnwin::Program program;
    if (!load(args.program, program)) return 1;
    varnwin::Interpreter interpreter(program, [](const std::string& line) { say(line); });
    return args.debugger ? debug(interpreter) : interpreter.run(nullptr);
}
