// The runtime's side of the debugger conversation. At the start it names
// the program's source files and takes the IDE's breakpoint set; on each
// function entry it names the locals and waits for the IDE's acknowledgement;
// before the first statement, at breakpoints and after each step it reports
// where it stopped and answers the IDE's requests until a command lets the
// program go on.
#pragma once

#include "Interpreter.h"
#include "debug/DebugMessage.h"
#include "debug/DebuggerLink.h"

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace varnwin {

// The reply for a name or expression that has no value here.
inline constexpr const char* kInvalidExpression = "<Invalid expression>";

class DebugSession : public ExecutionHook {
public:
    DebugSession(varn::DebuggerLink& link, Interpreter& interpreter);

    // Sends the file list and waits for the breakpoint set.
    void start();
    // Tells the IDE the program has ended.
    void finish();

    void enterFunction(const Frame& frame) override;
    void beforeStatement(const Statement& statement, int depth) override;

private:
    enum class Mode { StepInto, StepOver, Resume, RunToLine };

    bool shouldStop(const Statement& statement, int depth) const;
    void stop(const Statement& statement, int depth);
    void sendStopped(const Statement& statement);
    // Waits for the next message; a closed or failed link ends the program.
    std::uint32_t receive();
    void send(std::uint32_t code, const varn::Payload& payload);
    // Answers the value requests (10 to 13, 19, 20); false for other codes.
    bool answerRequest(std::uint32_t code);
    void takeBreakpoints();
    std::string valueText(const std::string& expression);
    std::string assign(const std::string& name, const std::string& valueText);

    varn::DebuggerLink& link_;
    Interpreter& interpreter_;
    std::set<std::pair<long, std::size_t>> breakpoints_;  // (line, file index)
    Mode mode_ = Mode::StepInto;
    int stepDepth_ = 0;
    long runLine_ = 0;
    std::set<std::size_t> runFiles_;
};

}  // namespace varnwin
