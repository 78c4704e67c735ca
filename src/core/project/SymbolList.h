// The symbol list offered by completion in the source editor: the project's
// "symbols.txt" followed by the language's "VARNsyms.txt", rebuilt whenever a
// project opens.
#pragma once

#include <string>
#include <vector>

namespace varn {

class Ui;

struct SYMBOLS {
    std::string name;
    std::string kind;
    std::string parameters;
    std::string description;
};

class SymbolList {
public:
    // The language's symbol file in the installation folder.
    static constexpr const char* kLanguageFile = "VARNsyms.txt";

    // Rebuilds the list; a missing language file is reported through `ui`.
    void load(const std::string& projectFolder, const std::string& installPath, Ui& ui);
    // Appends the records of one file's text; `projectFile` adds the skip rules
    // of the project's own file ("startup" and "shutdown").
    void addLines(const std::string& text, bool projectFile);
    static SYMBOLS parseLine(const std::string& line);

    const std::vector<SYMBOLS>& symbols() const { return symbols_; }
    void clear() { symbols_.clear(); }

private:
    void append(SYMBOLS s);
    std::vector<SYMBOLS> symbols_;
};

}  // namespace varn
