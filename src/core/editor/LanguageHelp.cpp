#include "editor/LanguageHelp.h"

#include <algorithm>
#include <map>

#include "app/Ui.h"
#include "editor/ColouringSettings.h"
#include "editor/SourceCommands.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The kinds an entry has, in the order the index shows them.
std::string kindsOf(const HelpEntry& e) {
    std::vector<std::string> kinds;
    for (const SYMBOLS& s : e.records)
        if (std::find(kinds.begin(), kinds.end(), s.kind) == kinds.end()) kinds.push_back(s.kind);
    if (e.keyword && std::find(kinds.begin(), kinds.end(), "keyword") == kinds.end()) kinds.push_back("keyword");
    std::string out;
    for (const std::string& k : kinds) out += (out.empty() ? "" : ", ") + k;
    return out;
}

}  // namespace

std::string HelpEntry::anchor() const { return paths::lower(word); }

Result<std::vector<HelpEntry>> readHelpEntries(const std::string& dataFolder) {
    const std::string symbolFile = paths::join(dataFolder, SymbolList::kLanguageFile);
    auto text = fsys::readFile(fsys::resolveCase(symbolFile));
    if (!text) return makeError("Unable to find " + symbolFile + "!", text.error().code);
    SymbolList symbols;
    symbols.addLines(*text, false);
    // The keyword list the source editor colours with.
    auto keywords = loadKeywords(dataFolder, colouringDefault(kSourceFilesSection, ColouringKey::Keywords));
    if (!keywords) return keywords.error();

    std::map<std::string, HelpEntry> byAnchor;
    auto entryFor = [&byAnchor](const std::string& word) -> HelpEntry& {
        HelpEntry& e = byAnchor[paths::lower(word)];
        if (e.word.empty()) e.word = word;
        return e;
    };
    for (const SYMBOLS& s : symbols.symbols())
        if (!s.name.empty()) entryFor(s.name).records.push_back(s);
    for (const std::string& k : *keywords) entryFor(k).keyword = true;

    std::vector<HelpEntry> entries;
    for (auto& [anchor, e] : byAnchor) entries.push_back(std::move(e));
    return entries;
}

std::string languageHelpHtml(const std::vector<HelpEntry>& entries) {
    const std::string title = SourceTexts::kHelpFallbackKeyword;
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
                       "</title>\n<style>\nbody { font-family: sans-serif; max-width: 50em; margin: 1em auto; }\n"
                       "dt { font-style: italic; } code { font-size: 110%; }\n</style>\n</head>\n<body>\n<h1>" +
                       title +
                       "</h1>\n<p>The built-in functions, events and keywords of the VARN language.</p>\n<table>\n";
    for (const HelpEntry& e : entries)
        html += "<tr><td><a href=\"#" + escaped(e.anchor()) + "\">" + escaped(e.word) + "</a></td><td>" +
                escaped(kindsOf(e)) + "</td></tr>\n";
    html += "</table>\n";
    for (const HelpEntry& e : entries) {
        html += "<h2 id=\"" + escaped(e.anchor()) + "\">" + escaped(e.word) + "</h2>\n<dl>\n";
        for (const SYMBOLS& s : e.records) {
            html += "<dt>" + escaped(s.kind) + "</dt><dd><code>" +
                    escaped(s.parameters.empty() ? s.name : s.parameters) + "</code>";
            if (!s.description.empty()) html += "<br>" + escaped(s.description);
            html += "</dd>\n";
        }
        const bool keywordRecord =
            std::any_of(e.records.begin(), e.records.end(), [](const SYMBOLS& s) { return s.kind == "keyword"; });
        if (e.keyword && !keywordRecord) html += "<dt>keyword</dt><dd><code>" + escaped(e.word) + "</code></dd>\n";
        html += "</dl>\n";
    }
    html += "</body>\n</html>\n";
    return html;
}

Status writeLanguageHelp(const std::string& dataFolder, const std::string& path) {
    auto entries = readHelpEntries(dataFolder);
    if (!entries) return entries.error();
    return fsys::writeFileAtomic(path, languageHelpHtml(*entries));
}

std::optional<HelpLocation> helpLocation(const std::string& installPath, const std::string& word, Ui& ui) {
    HelpLocation place{paths::join(installPath, kLanguageHelpFile), {}};
    if (!fsys::exists(place.file) || fsys::isDirectory(place.file)) {
        std::string text = kHelpFileMissing;
        text.replace(text.find("%s"), 2, place.file);
        ui.warning(text);
        return std::nullopt;
    }
    // The page was made from the folder's data, so its entries name the anchors it holds.
    if (auto entries = readHelpEntries(installPath)) {
        const std::string anchor = paths::lower(word);
        for (const HelpEntry& e : *entries)
            if (e.anchor() == anchor) place.anchor = anchor;
    }
    return place;
}

}  // namespace varn
