#include "SourceCheck.h"

#include "ToolSupport.h"

#include <algorithm>
#include <cctype>

namespace varnc {

using varntool::lower;
using varntool::splitLines;
using varntool::startsWithNoCase;
using varntool::trim;

namespace {

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The line without its comment; `unterminated` tells whether a string was
// still open at the end of the line.
std::string codeOf(const std::string& line, bool& unterminated) {
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') inString = !inString;
        else if (c == '#' && !inString) {
            unterminated = false;
            return line.substr(0, i);
        }
    }
    unterminated = inString;
    return line;
}

// The text of a comment line ("# text" -> "text"), empty for other lines.
std::string commentText(const std::string& line) {
    std::string t = trim(line);
    if (t.empty() || t[0] != '#') return {};
    return trim(t.substr(1));
}

bool isEndLine(const std::string& code) {
    if (!startsWithNoCase(code, "end")) return false;
    return trim(code.substr(3)) == ";";
}

// "function name(a, b)" -> name "name", params "name(a, b)". Returns false
// when no name follows the keyword.
bool parseHeader(const std::string& code, std::string& name, std::string& params) {
    std::size_t at = 8;  // after "function"
    while (at < code.size() && std::isspace(static_cast<unsigned char>(code[at]))) ++at;
    std::size_t nameStart = at;
    while (at < code.size() && isNameChar(code[at])) ++at;
    name = code.substr(nameStart, at - nameStart);
    if (name.empty()) return false;
    std::size_t open = code.find('(', at);
    std::size_t close = open == std::string::npos ? std::string::npos : code.find(')', open);
    if (open != std::string::npos && trim(code.substr(at, open - at)).empty() && close != std::string::npos)
        params = name + code.substr(open, close - open + 1);
    else
        params = name + "()";
    return true;
}

}  // namespace

SourceReport checkSource(const std::string& text) {
    SourceReport report;
    const std::vector<std::string> lines = splitLines(text);
    bool functionOpen = false;
    DeclaredFunction open{};
    std::vector<long> conditionals;  // header lines of the open COMPILE_IF parts
    std::string lastComment;

    auto unclosedFunction = [&] {
        report.problems.push_back({open.line, "function " + open.name + " has no end;"});
    };

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const long lineNo = static_cast<long>(i) + 1;
        bool unterminated = false;
        const std::string code = trim(codeOf(lines[i], unterminated));
        if (unterminated) report.problems.push_back({lineNo, "unterminated string"});

        std::string comment = commentText(lines[i]);
        if (code.empty()) {
            // A comment line may describe the function that follows; an
            // empty line breaks that link.
            lastComment = trim(lines[i]).empty() ? std::string() : (comment.empty() ? lastComment : comment);
            continue;
        }

        std::string firstWord;
        for (std::size_t k = 0; k < code.size() && isNameChar(code[k]); ++k) firstWord += code[k];
        firstWord = lower(firstWord);

        if (firstWord == "function") {
            std::string name, params;
            if (!parseHeader(code, name, params)) {
                report.problems.push_back({lineNo, "function without a name"});
            } else {
                if (functionOpen) unclosedFunction();
                open = DeclaredFunction{name, params, lastComment, lineNo};
                functionOpen = true;
                report.functions.push_back(open);
            }
        } else if (isEndLine(code)) {
            functionOpen = false;
        } else if (startsWithNoCase(code, "COMPILE_IF")) {
            conditionals.push_back(lineNo);
        } else if (startsWithNoCase(code, "COMPILE_END_IF")) {
            if (trim(code.substr(14)) != ";")
                report.problems.push_back({lineNo, "COMPILE_END_IF must be followed by ;"});
            if (conditionals.empty())
                report.problems.push_back({lineNo, "COMPILE_END_IF; without COMPILE_IF"});
            else
                conditionals.pop_back();
        } else if (startsWithNoCase(code, "COMPILE_ELSE")) {
            if (conditionals.empty()) report.problems.push_back({lineNo, "COMPILE_ELSE; without COMPILE_IF"});
        } else if (firstWord == "include") {
            std::string rest = trim(code.substr(7));
            if (!rest.empty() && rest[0] == '"') {
                std::size_t close = rest.find('"', 1);
                std::string name = rest.substr(1, close == std::string::npos ? std::string::npos : close - 1);
                if (name.empty())
                    report.problems.push_back({lineNo, "include without a file name"});
                else
                    report.includes.push_back({name, lineNo});
            }
        }
        lastComment.clear();
    }
    if (functionOpen) unclosedFunction();
    for (long line : conditionals) report.problems.push_back({line, "COMPILE_IF without COMPILE_END_IF;"});
    std::stable_sort(report.problems.begin(), report.problems.end(),
                     [](const SourceProblem& a, const SourceProblem& b) { return a.line < b.line; });
    return report;
}

}  // namespace varnc
