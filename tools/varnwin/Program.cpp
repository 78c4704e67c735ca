#include "Program.h"

#include "ToolSupport.h"
#include "Values.h"

namespace varnwin {

namespace {

using varntool::equalsNoCase;
using varntool::splitLines;
using varntool::trim;

// The line up to a "#" outside a string.
std::string codeOf(const std::string& line) {
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') inString = !inString;
        else if (line[i] == '#' && !inString) return line.substr(0, i);
    }
    return line;
}

// Pieces of `text` between separators outside strings and, when `nested`,
// outside parentheses and brackets.
std::vector<std::string> splitOutside(const std::string& text, char separator, bool nested) {
    std::vector<std::string> parts;
    std::string current;
    bool inString = false;
    int depth = 0;
    for (char c : text) {
        if (c == '"') inString = !inString;
        if (!inString && nested && (c == '(' || c == '[')) ++depth;
        if (!inString && nested && (c == ')' || c == ']')) --depth;
        if (c == separator && !inString && depth <= 0) {
            parts.push_back(current);
            current.clear();
            continue;
        }
        current += c;
    }
    parts.push_back(current);
    return parts;
}

std::size_t nameEnd(const std::string& s, std::size_t at) {
    if (at >= s.size() || !isNameStart(s[at])) return at;
    while (at < s.size() && isNameChar(s[at])) ++at;
    return at;
}

// Index of the ")" that closes the "(" at `open`, outside strings; npos when none.
std::size_t matchingClose(const std::string& s, std::size_t open) {
    bool inString = false;
    int depth = 0;
    for (std::size_t i = open; i < s.size(); ++i) {
        if (s[i] == '"') inString = !inString;
        if (inString) continue;
        if (s[i] == '(') ++depth;
        if (s[i] == ')' && --depth == 0) return i;
    }
    return std::string::npos;
}

std::string firstWord(const std::string& code) { return code.substr(0, nameEnd(code, 0)); }

bool isFunctionHeader(const std::string& code) { return equalsNoCase(firstWord(code), "function"); }

bool isEndLine(const std::string& code) { return equalsNoCase(firstWord(code), "end") && trim(code.substr(3)) == ";"; }

Statement parseStatement(const std::string& text) {
    Statement st;
    st.text = text;
    std::size_t end = nameEnd(text, 0);
    if (end == 0) return st;
    const std::string name = text.substr(0, end);
    std::size_t at = end;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    if (equalsNoCase(name, "return")) {
        st.kind = StatementKind::Return;
        return st;
    }
    if (at == text.size()) {
        st.kind = StatementKind::Call;
        st.name = name;
        return st;
    }
    if (text[at] == '=') {
        st.kind = StatementKind::Assign;
        st.name = name;
        st.expression = trim(text.substr(at + 1));
        return st;
    }
    if (text[at] == '(' && matchingClose(text, at) == text.size() - 1) {
        const std::string inner = text.substr(at + 1, text.size() - at - 2);
        st.kind = StatementKind::Call;
        st.name = name;
        if (!trim(inner).empty())
            for (const std::string& arg : splitOutside(inner, ',', true)) st.arguments.push_back(trim(arg));
    }
    return st;
}

// "name(numeric a, b)" -> the name and the last word of each parameter.
bool parseHeader(const std::string& header, Function& f) {
    std::string h = trim(header);
    std::size_t end = nameEnd(h, 0);
    if (end == 0) return false;
    f.name = h.substr(0, end);
    std::size_t open = h.find('(', end);
    if (open == std::string::npos) return true;
    std::size_t close = h.find(')', open);
    std::string inner = h.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    for (const std::string& part : splitOutside(inner, ',', false)) {
        std::string p = trim(part);
        std::size_t last = p.find_last_of(" \t");
        if (last != std::string::npos) p = p.substr(last + 1);
        if (std::size_t bracket = p.find('['); bracket != std::string::npos) p = p.substr(0, bracket);
        if (!p.empty() && nameEnd(p, 0) == p.size()) f.parameters.push_back(p);
    }
    return true;
}

void addName(std::vector<std::string>& names, const std::string& name) {
    for (const auto& n : names)
        if (equalsNoCase(n, name)) return;
    names.push_back(name);
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    for (const auto& n : names)
        if (equalsNoCase(n, name)) return true;
    return false;
}

}  // namespace

std::vector<Statement> parseLine(const std::string& line, std::size_t file, long lineNo) {
    std::vector<Statement> statements;
    for (const std::string& piece : splitOutside(codeOf(line), ';', false)) {
        std::string text = trim(piece);
        if (text.empty()) continue;
        Statement st = parseStatement(text);
        st.file = file;
        st.line = lineNo;
        st.startsLine = statements.empty();
        statements.push_back(std::move(st));
    }
    return statements;
}

const Function* Program::find(std::string_view name) const {
    for (const auto& f : functions)
        if (equalsNoCase(f.name, std::string(name))) return &f;
    return nullptr;
}

bool buildProgram(const Container& container, Program& program, std::string& error) {
    program = Program{};
    std::vector<bool> isC(container.files.size(), false);
    for (const auto& u : container.units)
        if (u.role == "c") isC[u.file] = true;

    std::vector<std::vector<std::string>> lines;
    for (std::size_t i = 0; i < container.files.size(); ++i) {
        program.filePaths.push_back(container.files[i].path);
        lines.push_back(isC[i] ? std::vector<std::string>{} : splitLines(container.files[i].text));
    }

    // Top level: the assignments outside "function" ... "end;".
    for (std::size_t file = 0; file < lines.size(); ++file) {
        bool inFunction = false;
        for (std::size_t i = 0; i < lines[file].size(); ++i) {
            const std::string code = trim(codeOf(lines[file][i]));
            if (isFunctionHeader(code)) inFunction = true;
            else if (isEndLine(code)) inFunction = false;
            else if (!inFunction)
                for (Statement& st : parseLine(lines[file][i], file, static_cast<long>(i) + 1))
                    if (st.kind == StatementKind::Assign) {
                        addName(program.globalNames, st.name);
                        program.globalAssignments.push_back(std::move(st));
                    }
        }
    }

    for (const ContainerFunction& record : container.functions) {
        Function f;
        f.file = record.file;
        f.line = record.line;
        const std::vector<std::string>& text = lines[record.file];
        const std::size_t header = static_cast<std::size_t>(record.line) - 1;
        if (header >= text.size() || !isFunctionHeader(trim(codeOf(text[header]))) || !parseHeader(record.header, f)) {
            error = "function " + record.header + " is not declared at line " + std::to_string(record.line) + " of " +
                    container.files[record.file].path;
            return false;
        }
        f.locals = f.parameters;
        for (std::size_t i = header + 1; i < text.size(); ++i) {
            const std::string code = trim(codeOf(text[i]));
            if (isEndLine(code) || isFunctionHeader(code)) break;
            for (Statement& st : parseLine(text[i], record.file, static_cast<long>(i) + 1)) {
                if (st.kind == StatementKind::Assign && !contains(program.globalNames, st.name)) addName(f.locals, st.name);
                f.body.push_back(std::move(st));
            }
        }
        program.functions.push_back(std::move(f));
    }
    return true;
}

}  // namespace varnwin
