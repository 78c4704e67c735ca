#include "Interpreter.h"

namespace varnwin {

namespace {

struct TooDeep {
    std::string message;
};

}  // namespace

Interpreter::Interpreter(const Program& program, std::function<void(const std::string&)> warn)
    : program_(program), warn_(std::move(warn)) {
    for (const auto& name : program_.globalNames) globals_.add(name);
}

Scope Interpreter::scope() { return Scope{frames_.empty() ? nullptr : &frames_.back()->locals, &globals_}; }

std::string Interpreter::where(const Statement& statement) const {
    return program_.filePaths[statement.file] + ", line " + std::to_string(statement.line);
}

Value Interpreter::valueOf(const Statement& statement, const std::string& expression) {
    if (std::optional<Value> v = evaluator_.evaluate(expression, scope())) return *v;
    warn_(where(statement) + ": cannot evaluate \"" + expression + "\"; 0 is used");
    return Value{};
}

int Interpreter::run(ExecutionHook* hook) {
    hook_ = hook;
    frames_.clear();
    try {
        for (const Statement& st : program_.globalAssignments) execute(st);
        if (const Function* startup = program_.find("startup")) call(*startup, {}, nullptr);
    } catch (const TooDeep& e) {
        warn_(e.message);
        frames_.clear();
        return 1;
    }
    return 0;
}

void Interpreter::call(const Function& function, std::vector<Value> arguments, const Statement* site) {
    if (static_cast<int>(frames_.size()) >= kMaxDepth)
        throw TooDeep{(site ? where(*site) + ": " : std::string()) + "calls nested more than " +
                      std::to_string(kMaxDepth) + " deep (calling " + function.name + ")"};
    auto frame = std::make_unique<Frame>();
    frame->function = &function;
    for (const auto& name : function.locals) frame->locals.add(name);
    for (std::size_t i = 0; i < arguments.size() && i < function.parameters.size(); ++i)
        frame->locals.at(static_cast<int>(i)) = std::move(arguments[i]);
    frames_.push_back(std::move(frame));
    if (hook_) hook_->enterFunction(*frames_.back());
    for (const Statement& st : function.body) {
        if (hook_ && st.startsLine) hook_->beforeStatement(st, static_cast<int>(frames_.size()));
        if (!execute(st)) break;
    }
    frames_.pop_back();
}

bool Interpreter::execute(const Statement& st) {
    switch (st.kind) {
    case StatementKind::Assign: {
        Value value = valueOf(st, st.expression);
        if (Value* target = scope().find(st.name)) *target = std::move(value);
        return true;
    }
    case StatementKind::Call: {
        const Function* callee = program_.find(st.name);
        if (!callee) return true;  // not a function of this program
        std::vector<Value> arguments;
        for (const auto& a : st.arguments) arguments.push_back(valueOf(st, a));
        if (arguments.size() > callee->parameters.size())
            warn_(where(st) + ": " + callee->name + " takes " + std::to_string(callee->parameters.size()) +
                  " argument(s); the others are dropped");
        call(*callee, std::move(arguments), &st);
        return true;
    }
    case StatementKind::Return: return false;
    case StatementKind::Other: return true;
    }
    return true;
}

}  // namespace varnwin
