// Executes a program: first the global assignments in file order, then the
// function "startup" when there is one. A hook sees every function entry
// and every statement that begins a line before it runs; the debugger
// stops there.
#pragma once

#include "Program.h"
#include "Values.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace varnwin {

// Thrown to end the program at once (the debugger's quit, a lost link).
struct EndProgram {
    int status = 0;
};

struct Frame {
    const Function* function = nullptr;
    Variables locals;
};

class ExecutionHook {
public:
    virtual ~ExecutionHook() = default;
    // The frame is set up with the arguments bound; nothing of it has run.
    virtual void enterFunction(const Frame& frame) = 0;
    // `depth` counts the active functions, 1 in startup.
    virtual void beforeStatement(const Statement& statement, int depth) = 0;
};

class Interpreter {
public:
    // Calls nested deeper than this end the program with an error.
    static constexpr int kMaxDepth = 200;

    // `warn` receives one line per problem met while running.
    Interpreter(const Program& program, std::function<void(const std::string&)> warn);

    // 0 when the program ran to its end, 1 when an error ended it.
    int run(ExecutionHook* hook);

    // The variables visible where the program is: the innermost function's
    // locals, then the globals.
    Scope scope();
    Evaluator& evaluator() { return evaluator_; }
    const Program& program() const { return program_; }

private:
    void call(const Function& function, std::vector<Value> arguments, const Statement* site);
    // False after a return statement.
    bool execute(const Statement& statement);
    Value valueOf(const Statement& statement, const std::string& expression);
    std::string where(const Statement& statement) const;

    const Program& program_;
    std::function<void(const std::string&)> warn_;
    ExecutionHook* hook_ = nullptr;
    Evaluator evaluator_;
    Variables globals_;
    std::vector<std::unique_ptr<Frame>> frames_;
};

}  // namespace varnwin
