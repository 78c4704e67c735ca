// The language help: one HTML page in the installation folder with an entry
// per built-in function, event and keyword, made from the symbol file and the
// source keyword list, and the place in it that F1 opens for a word.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "project/SymbolList.h"

namespace varn {

class Ui;

// The help page in the installation folder. It stands for the help file
// "VARNlang.hlp" and carries the extension browsers open as HTML.
inline constexpr const char* kLanguageHelpFile = "VARNlang.html";
inline constexpr const char* kHelpFileMissing = "The help file %s could not be found.";

// One entry of the help: a word with every symbol-file record that names it
// (in file order) and whether the source keyword list holds it. Words are
// matched without regard to case; the anchor is the word in lower case.
struct HelpEntry {
    std::string word;
    std::vector<SYMBOLS> records;
    bool keyword = false;

    std::string anchor() const;
};

// The entries of the symbol file and the keyword list in `dataFolder`,
// sorted by word without case. A missing symbol file or keyword list is an
// error naming it.
Result<std::vector<HelpEntry>> readHelpEntries(const std::string& dataFolder);
// The page: an index of the functions and of the keywords, then every entry
// under its anchor.
std::string languageHelpHtml(const std::vector<HelpEntry>& entries);
// Writes the page made from `dataFolder` to `path`.
Status writeLanguageHelp(const std::string& dataFolder, const std::string& path);

// Where F1 takes the user: the help page at the word's entry, or at its top
// (the index) for a word the help does not hold. A missing page is reported
// through `ui` with the path, and there is no place.
struct HelpLocation {
    std::string file;
    std::string anchor;  // empty: the index
};
std::optional<HelpLocation> helpLocation(const std::string& installPath, const std::string& word, Ui& ui);

}  // namespace varn
