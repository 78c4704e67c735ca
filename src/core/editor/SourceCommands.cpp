#include "editor/SourceCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

#include "expr/ObjectTypeTable.h"
#include "platform/Paths.h"
#include "project/SymbolList.h"

namespace varn {

namespace {

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char lowerChar(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

int clampColumn(const std::string& line, int column) {
    return std::clamp(column, 0, static_cast<int>(line.size()));
}

// Type words of a declaration and the table name each stands for.
struct TypeWord {
    std::string_view word;
    std::string_view type;
};
constexpr TypeWord kExtraTypeWords[] = {
    {"dropdown", "drop_down"},
    {"object", "object"},
};
constexpr TypeWord kMenuTypeWords[] = {
    {"bar", "menu_bar"},
    {"item", "menu_item"},
    {"top", "menu_top"},
};

std::optional<std::string> typeOfWord(const std::string& lowered) {
    for (const auto& t : objectTypeTable())
        if (lowered == t.name) return std::string(t.name);
    for (const auto& t : kExtraTypeWords)
        if (lowered == t.word) return std::string(t.type);
    return std::nullopt;
}

// Whether the occurrence of a name at `pos` follows a type word.
std::optional<std::string> declarationBefore(const std::string& text, std::size_t pos) {
    std::size_t p = pos;
    auto skipSpace = [&] {
        while (p > 0 && isSpace(text[p - 1])) --p;
    };
    auto previousWord = [&] {
        std::size_t end = p;
        while (p > 0 && isWordChar(text[p - 1])) --p;
        return paths::lower(text.substr(p, end - p));
    };
    skipSpace();
    while (p > 0 && text[p - 1] == ',') {
        --p;
        skipSpace();
        if (previousWord().empty()) return std::nullopt;
        skipSpace();
    }
    std::string word = previousWord();
    if (word.empty()) return std::nullopt;
    if (auto type = typeOfWord(word)) return type;
    for (const auto& t : kMenuTypeWords) {
        if (word != t.word) continue;
        while (p > 0 && (text[p - 1] == ' ' || text[p - 1] == '\t')) --p;
        if (previousWord() == "menu") return std::string(t.type);
    }
    return std::nullopt;
}

bool inLineComment(const std::string& text, std::size_t pos) {
    std::size_t lineStart = text.rfind('\n', pos == 0 ? 0 : pos - 1);
    lineStart = lineStart == std::string::npos || pos == 0 ? 0 : lineStart + 1;
    return text.find('#', lineStart) < pos;
}

}  // namespace

BlockCommentPlan blockCommentLines(const TextSelection& s, int caretLine) {
    BlockCommentPlan plan;
    if (!s.hasSelection) {
        plan.lines.push_back(caretLine);
        plan.caretLine = caretLine;
        return plan;
    }
    int first = s.startLine, last = s.endLine;
    if (first > last) std::swap(first, last);
    for (int line = first; line < last; ++line) plan.lines.push_back(line);
    plan.caretLine = last;
    return plan;
}

bool uncommentable(const std::string& line) { return !line.empty() && line[0] == '#'; }

std::optional<int> nextFlaggedLine(const std::vector<int>& flaggedLines, int caretLine, bool forward) {
    if (flaggedLines.empty()) return std::nullopt;
    if (forward) {
        auto next = std::upper_bound(flaggedLines.begin(), flaggedLines.end(), caretLine);
        return next == flaggedLines.end() ? flaggedLines.front() : *next;
    }
    auto previous = std::lower_bound(flaggedLines.begin(), flaggedLines.end(), caretLine);
    return previous == flaggedLines.begin() ? flaggedLines.back() : *(previous - 1);
}

std::string caretStatusText(int line, int column) {
    char text[64];
    std::snprintf(text, sizeof text, line < 10000 ? "Line %d Col %d" : "Ln %d Col %d", line, column + 1);
    return text;
}

bool isSymbolDelimiter(char c) {
    static constexpr std::string_view kDelimiters = " \".[]()%{}$><^;+-=*/#,";
    return kDelimiters.find(c) != std::string_view::npos;
}

SymbolWord symbolWordAt(const std::string& line, int column) {
    int caret = clampColumn(line, column);
    int start = caret, end = caret;
    while (start > 0 && !isSymbolDelimiter(line[static_cast<std::size_t>(start - 1)])) --start;
    while (end < static_cast<int>(line.size()) && !isSymbolDelimiter(line[static_cast<std::size_t>(end)])) ++end;
    return {start, end, paths::lower(line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)))};
}

std::string symbolPrefix(const std::string& line, int column) { return symbolWordAt(line, column).prefix; }

std::string symbolEntry(const SYMBOLS& s) {
    std::string entry = s.name + ", " + s.kind + " " + s.parameters;
    if (s.kind == "function") entry += " as " + s.description;
    return entry;
}

std::vector<std::string> symbolEntries(const std::vector<SYMBOLS>& symbols) {
    std::vector<std::string> entries;
    for (const SYMBOLS& s : symbols)
        if (!s.name.empty()) entries.push_back(symbolEntry(s));
    std::stable_sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return lowerChar(x) < lowerChar(y); });
    });
    return entries;
}

std::vector<std::string> symbolEntries(const SymbolList& symbols) { return symbolEntries(symbols.symbols()); }

int initialSelection(const std::vector<std::string>& entries, const std::string& prefix) {
    const std::string wanted = paths::lower(prefix);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string head = paths::lower(entries[i].substr(0, wanted.size()));
        if (head.compare(wanted) >= 0) return static_cast<int>(i);
    }
    return -1;
}

std::string insertionText(const std::string& entry) { return entry.substr(0, entry.find(',')); }

std::string wordAtCaret(const std::string& line, int column) {
    int caret = clampColumn(line, column);
    int start = caret, end = caret;
    while (start > 0 && isWordChar(line[static_cast<std::size_t>(start - 1)])) --start;
    while (end < static_cast<int>(line.size()) && isWordChar(line[static_cast<std::size_t>(end)])) ++end;
    return line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

std::string helpKeyword(const std::string& line, int column) {
    std::string word = wordAtCaret(line, column);
    return word.empty() ? std::string(SourceTexts::kHelpFallbackKeyword) : word;
}

std::vector<std::string> objectTypeNames() {
    std::vector<std::string> names;
    for (const auto& t : objectTypeTable()) names.emplace_back(t.name);
    return names;
}

std::vector<std::string> propertiesOf(const std::string& typeName) {
    for (const auto& t : objectTypeTable()) {
        if (!paths::equalNoCase(typeName, std::string(t.name))) continue;
        return {t.properties.begin(), t.properties.end()};
    }
    return {};
}

std::optional<std::string> declaredObjectType(const std::string& textBeforeCaret, const std::string& name) {
    if (name.empty()) return std::nullopt;
    const std::string text = paths::lower(textBeforeCaret);
    const std::string wanted = paths::lower(name);
    std::size_t from = text.size();
    while (from >= wanted.size()) {
        std::size_t pos = text.rfind(wanted, from - wanted.size());
        if (pos == std::string::npos) break;
        from = pos + wanted.size() - 1;  // the next search ends before this one's last character
        bool whole = (pos == 0 || !isWordChar(text[pos - 1])) &&
                     (pos + wanted.size() >= text.size() || !isWordChar(text[pos + wanted.size()]));
        if (whole && !inLineComment(text, pos))
            if (auto type = declarationBefore(text, pos)) return type;
        if (pos == 0) break;
    }
    return std::nullopt;
}

std::optional<std::string> autoPropertyType(const std::string& textBeforeDot) {
    std::size_t start = textBeforeDot.size();
    while (start > 0 && isWordChar(textBeforeDot[start - 1])) --start;
    if (start == textBeforeDot.size()) return std::nullopt;
    return declaredObjectType(textBeforeDot.substr(0, start), textBeforeDot.substr(start));
}

}  // namespace varn
