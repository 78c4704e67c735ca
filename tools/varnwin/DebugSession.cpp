#include "DebugSession.h"

#include "ToolSupport.h"

namespace varnwin {

namespace DC = varn::DebugCode;

DebugSession::DebugSession(varn::DebuggerLink& link, Interpreter& interpreter)
    : link_(link), interpreter_(interpreter) {}

std::uint32_t DebugSession::receive() {
    std::uint32_t code = link_.receive(true);
    if (code == 0) throw EndProgram{0};  // the IDE has gone
    return code;
}

void DebugSession::send(std::uint32_t code, const varn::Payload& payload) {
    if (!link_.send(code, payload)) throw EndProgram{0};
}

void DebugSession::start() {
    send(DC::kFileList, varn::buildTextList(interpreter_.program().filePaths));
    for (;;) {
        std::uint32_t code = receive();
        if (code == DC::kBreakpoints) {
            takeBreakpoints();
            return;
        }
        if (code == DC::kQuit) throw EndProgram{0};
        answerRequest(code);
    }
}

void DebugSession::finish() { send(DC::kEnded, {}); }

void DebugSession::takeBreakpoints() {
    std::optional<std::vector<varn::BreakpointPair>> pairs =
        varn::readBreakpointPairs(link_.payload(), link_.payloadLength());
    if (!pairs) return;  // a damaged set leaves the old one
    breakpoints_.clear();
    const std::size_t files = interpreter_.program().filePaths.size();
    for (const auto& p : *pairs)
        if (p.fileIndex >= 0 && static_cast<std::size_t>(p.fileIndex) < files)
            breakpoints_.insert({p.line, static_cast<std::size_t>(p.fileIndex)});
}

void DebugSession::enterFunction(const Frame& frame) {
    send(DC::kLocalNames, varn::buildTextList(frame.function->locals));
    for (;;) {
        std::uint32_t code = receive();
        if (code == DC::kLocalsAck) return;
        if (code == DC::kQuit) throw EndProgram{0};
        if (code == DC::kBreakpoints) takeBreakpoints();
        else answerRequest(code);
    }
}

bool DebugSession::shouldStop(const Statement& st, int depth) const {
    if (breakpoints_.count({st.line, st.file})) return true;
    switch (mode_) {
    case Mode::StepInto: return true;
    case Mode::StepOver: return depth <= stepDepth_;
    case Mode::RunToLine: return st.line == runLine_ && runFiles_.count(st.file) > 0;
    case Mode::Resume: return false;
    }
    return false;
}

void DebugSession::beforeStatement(const Statement& st, int depth) {
    if (shouldStop(st, depth)) stop(st, depth);
}

void DebugSession::sendStopped(const Statement& st) {
    send(DC::kStopped, varn::buildLineAndPath(static_cast<int>(st.line), interpreter_.program().filePaths[st.file]));
}

void DebugSession::stop(const Statement& st, int depth) {
    sendStopped(st);
    for (;;) {
        std::uint32_t code = receive();
        switch (code) {
        case DC::kResume: mode_ = Mode::Resume; return;
        case DC::kStepInto: mode_ = Mode::StepInto; return;
        case DC::kStepOver:
            mode_ = Mode::StepOver;
            stepDepth_ = depth;
            return;
        case DC::kRunToLine:
            if (auto target = varn::readLineAndPath(link_.payload(), link_.payloadLength())) {
                mode_ = Mode::RunToLine;
                runLine_ = target->line;
                runFiles_.clear();
                const auto& paths = interpreter_.program().filePaths;
                for (std::size_t i = 0; i < paths.size(); ++i)
                    if (varntool::equalsNoCase(varntool::nativePath(paths[i]), varntool::nativePath(target->path)))
                        runFiles_.insert(i);
                return;
            }
            break;
        case DC::kQuit: throw EndProgram{0};
        case DC::kBreakpoints:
            takeBreakpoints();
            sendStopped(st);
            break;
        default: answerRequest(code); break;
        }
    }
}

bool DebugSession::answerRequest(std::uint32_t code) {
    const std::uint8_t* p = link_.payload();
    const std::size_t n = link_.payloadLength();
    switch (code) {
    case DC::kWatchValue:
    case DC::kDisplayValue: {
        std::optional<std::string> name = varn::readText(p, n);
        send(code, varn::buildText(name ? valueText(*name) : kInvalidExpression));
        return true;
    }
    case DC::kWatchAssign:
    case DC::kDisplayAssign: {
        std::optional<varn::NameValue> nv = varn::readNameValue(p, n);
        send(code, varn::buildText(nv ? assign(nv->name, nv->value) : kInvalidExpression));
        return true;
    }
    case DC::kLocalValues:
    case DC::kWatchValues: {
        std::vector<varn::NameValue> pairs;
        if (auto names = varn::readTextList(p, n))
            for (const auto& name : *names) pairs.push_back({name, valueText(name)});
        send(code, varn::buildNameValueList(pairs));
        return true;
    }
    default: return false;  // anything else is not for this moment
    }
}

std::string DebugSession::valueText(const std::string& expression) {
    const std::string e = varntool::trim(expression);
    if (e.empty()) return kInvalidExpression;
    std::optional<Value> v = interpreter_.evaluator().evaluate(e, interpreter_.scope());
    return v ? displayText(*v) : kInvalidExpression;
}

// The new value is read as an expression where the variables are; a text
// that is none is taken as it stands by a variable holding a string.
std::string DebugSession::assign(const std::string& name, const std::string& text) {
    Value* target = interpreter_.scope().find(varntool::trim(name));
    if (!target) return kInvalidExpression;
    std::optional<Value> v = interpreter_.evaluator().evaluate(text, interpreter_.scope());
    if (v) *target = std::move(*v);
    else if (target->isText) target->text = text;
    else return kInvalidExpression;
    return displayText(*target);
}

}  // namespace varnwin
