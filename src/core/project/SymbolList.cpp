#include "project/SymbolList.h"

#include "platform/TextLines.h"

#include <algorithm>

#include "app/Ui.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

// Cuts the text up to the next ";" (or its end) off `rest`.
std::string takeField(std::string& rest) {
    auto semi = rest.find(';');
    std::string field = rest.substr(0, semi);
    rest = semi == std::string::npos ? std::string() : rest.substr(semi + 1);
    return field;
}

}  // namespace

SYMBOLS SymbolList::parseLine(const std::string& line) {
    SYMBOLS s;
    std::string rest = line;
    s.name = takeField(rest);
    s.kind = takeField(rest);
    if (s.kind == "function") {
        s.parameters = takeField(rest);
        s.description = rest;
    } else {
        s.parameters = rest;
    }
    return s;
}

void SymbolList::append(SYMBOLS s) {
    // Storage grows by max(4, min(1024, size / 8)) records at a time.
    if (symbols_.size() == symbols_.capacity()) {
        std::size_t grow = std::max<std::size_t>(4, std::min<std::size_t>(1024, symbols_.size() / 8));
        symbols_.reserve(symbols_.size() + grow);
    }
    symbols_.push_back(std::move(s));
}

void SymbolList::addLines(const std::string& text, bool projectFile) {
    for (const std::string& line : splitLines(text)) {
        if (line == "/n") continue;
        if (projectFile && (line == "startup" || line == "shutdown")) continue;
        append(parseLine(line));
    }
}

void SymbolList::load(const std::string& projectFolder, const std::string& installPath, Ui& ui) {
    symbols_.clear();
    if (!projectFolder.empty()) {
        auto own = fsys::readFile(fsys::resolveCase(paths::join(projectFolder, "symbols.txt")));
        if (own) addLines(*own, true);
    }
    std::string language = paths::join(installPath, kLanguageFile);
    auto text = fsys::readFile(fsys::resolveCase(language));
    if (!text) {
        ui.error("Unable to find " + language + "!");
        return;
    }
    addLines(*text, false);
}

}  // namespace varn
