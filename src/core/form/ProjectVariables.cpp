#include "form/ProjectVariables.h"

#include <string_view>

#include "app/Ui.h"
#include "expr/ExprChecker.h"

namespace varn {

namespace {

std::string trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

std::string withLine(std::string_view format, const std::string& line) {
    std::string out(format);
    std::size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, line);
    return out;
}

}  // namespace

bool checkVariableValue(const std::string& valueWithTerminator) {
    ExprChecker checker;
    return checker.check(valueWithTerminator, ';').status == ExprResult::Ok;
}

bool acceptProjectVariables(const std::vector<std::string>& lines, std::vector<std::string>& projectVars, Ui& ui,
                            const VariableValueCheck& check) {
    projectVars.clear();
    for (const std::string& raw : lines) {
        std::string line = trimmed(raw);
        if (line.empty()) continue;
        if (line.back() == ';') {
            line.pop_back();
            line = trimmed(line);
        }
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            ui.error(withLine(kVariableMissingEquals, line));
            return false;
        }
        std::string value = trimmed(std::string_view(line).substr(equals + 1)) + ";";
        if (!check || !check(value)) {
            ui.error(withLine(kVariableSyntaxError, line));
            return false;
        }
        projectVars.push_back(line);
    }
    return true;
}

}  // namespace varn
