// Fuzz target for the menu bar reader: any input must read without reading out
// of bounds, hanging or growing without limit. What was read, written again,
// must read back complete and the same (texts as the writer trims them), as
// long as every written line fits the reader's line length and no name holds
// a "," or ";" (a hand-made header such as "menu_bar a;b,c;" names the bar
// "a;b", which is written as a header that reads back as "a").

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "menubar/MenuBarFile.h"

namespace {

std::string trimmed(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::string display(bool isExpression, const std::string& text) {
    std::string t = trimmed(text);
    return t.empty() ? std::string("[]") : (isExpression ? "e[" : "[") + t + "]";
}

std::string dump(const varn::MenuBarList& bars) {
    std::string s;
    for (const auto& b : bars) {
        s += "B" + b.name + "\n";
        for (const auto& t : b.tops) {
            s += "T" + t.name + display(t.displayIsExpression, t.display) + "\n";
            for (const auto& i : t.items)
                s += "I" + i.name + display(i.displayIsExpression, i.display) + trimmed(i.invokes) + "\n";
        }
    }
    return s;
}

bool plainNames(const varn::MenuBarList& bars) {
    auto plain = [](const std::string& name) { return name.find_first_of(",;") == std::string::npos; };
    for (const auto& b : bars) {
        if (!plain(b.name)) return false;
        for (const auto& t : b.tops) {
            if (!plain(t.name)) return false;
            for (const auto& i : t.items)
                if (!plain(i.name)) return false;
        }
    }
    return true;
}

bool linesFit(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (end - start > varn::MenuBarLineReader::kMaxLine + 1) return false;  // + 1: the CR
        start = end + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    varn::MenuBarReadResult first = varn::readMenuBarFile(bytes);
    std::string written = varn::writeMenuBarFile(first.bars, "Fuzz_MenuBar.ini", "d", "t");
    if (!plainNames(first.bars) || !linesFit(written)) return 0;
    varn::MenuBarReadResult again = varn::readMenuBarFile(written);
    if (!again.complete || dump(again.bars) != dump(first.bars)) std::abort();
    return 0;
}
