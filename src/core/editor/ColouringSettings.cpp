#include "editor/ColouringSettings.h"

#include "platform/TextLines.h"

#include <algorithm>
#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"

namespace varn {

namespace {

const char* columnValue(const ColouringDefault& d, const std::string& section) {
    if (paths::equalNoCase(section, kSourceFilesSection)) return d.source;
    if (paths::equalNoCase(section, kCBuildFilesSection)) return d.cBuild;
    return d.other;
}

const ColouringDefault* findDefault(const std::string& key) {
    for (const auto& d : kColouringDefaults)
        if (paths::equalNoCase(key, d.key)) return &d;
    return nullptr;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One "%d" of the colour text at `pos`, reduced modulo 256; false when no
// number stands there.
bool scanByte(const std::string& text, std::size_t& pos, std::uint8_t& out) {
    std::size_t i = pos;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i >= text.size() || !isDigit(text[i])) return false;
    unsigned value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) value = (value * 10 + unsigned(text[i] - '0')) % 256;
    if (negative) value = (256 - value) % 256;
    out = static_cast<std::uint8_t>(value);
    pos = i;
    return true;
}

std::string trimBlanks(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

}  // namespace

std::string colouringDefault(const std::string& section, const std::string& key) {
    const ColouringDefault* d = findDefault(key);
    if (!d) {
        if (paths::equalNoCase(key, ColouringKey::TerminatorChars) && paths::equalNoCase(section, kSourceFilesSection))
            return kSourceTerminatorChars;
        return {};
    }
    return columnValue(*d, section);
}

std::string editorSectionFor(const std::string& path) {
    const std::string ext = paths::extension(path);
    for (const char* varn : {"vsl", "vpk", "vff"})
        if (paths::equalNoCase(ext, varn)) return kSourceFilesSection;
    for (const char* c : {"c", "h"})
        if (paths::equalNoCase(ext, c)) return kCBuildFilesSection;
    return kDefaultFilesSection;
}

void normaliseColouring(SettingsStore& store) {
    for (const char* section : {kCBuildFilesSection, kDefaultFilesSection, kSourceFilesSection}) {
        // Every key is read before any is written, as the table reads them.
        std::array<std::string, kColouringDefaults.size()> values;
        for (std::size_t i = 0; i < kColouringDefaults.size(); ++i) {
            const ColouringDefault& d = kColouringDefaults[i];
            const std::string def = columnValue(d, section);
            values[i] = d.integer ? std::to_string(store.getInt(section, d.key, parseLeadingInt(def)))
                                  : store.getString(section, d.key, def);
        }
        for (std::size_t i = 0; i < kColouringDefaults.size(); ++i) {
            const ColouringDefault& d = kColouringDefaults[i];
            if (d.integer) store.setInt(section, d.key, parseLeadingInt(values[i]));
            else store.setString(section, d.key, values[i]);
        }
    }
    store.setString(kSourceFilesSection, ColouringKey::TerminatorChars, kSourceTerminatorChars);
}

Rgb parseColour(const std::string& text) {
    Rgb c;
    std::size_t pos = 0;
    if (!scanByte(text, pos, c.r)) return c;
    if (pos >= text.size() || text[pos] != ',') return c;
    ++pos;
    if (!scanByte(text, pos, c.g)) return c;
    if (pos >= text.size() || text[pos] != ',') return c;
    ++pos;
    scanByte(text, pos, c.b);
    return c;
}

std::string formatColour(Rgb colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%d,%d,%d", int{colour.r}, int{colour.g}, int{colour.b});
    return text;
}

EditorSection readEditorSection(const SettingsStore& store, const std::string& section) {
    auto integer = [&](const char* key) { return store.getInt(section, key, parseLeadingInt(colouringDefault(section, key))); };
    auto text = [&](const char* key) { return store.getString(section, key, colouringDefault(section, key)); };
    auto colour = [&](const char* key) { return parseColour(text(key)); };

    EditorSection e;
    e.showTabs = integer(ColouringKey::ShowTabs) != 0;
    e.tabSize = std::clamp(integer(ColouringKey::TabSize), EditorSection::kMinTabSize, EditorSection::kMaxTabSize);
    e.keepTabs = store.getInt(section, ColouringKey::KeepTabs, 1) != 0;
    e.caseSensitive = integer(ColouringKey::Case) != 0;
    e.commentStart1 = text(ColouringKey::CommentStart1);
    e.commentEnd1 = text(ColouringKey::CommentEnd1);
    e.commentStart2 = text(ColouringKey::CommentStart2);
    e.commentEnd2 = text(ColouringKey::CommentEnd2);
    e.background = colour(ColouringKey::Background);
    e.defaultText = colour(ColouringKey::DefaultText);
    e.squote = colour(ColouringKey::SQuote);
    e.quote = colour(ColouringKey::Quote);
    e.keyword = colour(ColouringKey::Keyword);
    e.comment = colour(ColouringKey::Comment);
    e.extraWordChars = text(ColouringKey::ExtraWordChars);
    e.chroma = integer(ColouringKey::Chroma) != 0;
    e.keywordsFile = text(ColouringKey::Keywords);
    e.terminatorChars = text(ColouringKey::TerminatorChars);
    return e;
}

std::vector<std::string> parseKeywords(const std::string& text) {
    std::vector<std::string> words;
    for (std::string line : splitLines(text)) {
        line = trimBlanks(line);
        if (line.empty() || line[0] == '#') continue;
        words.push_back(std::move(line));
    }
    return words;
}

Result<std::vector<std::string>> readKeywordFile(const std::string& path) {
    if (!fsys::exists(path) || fsys::isDirectory(path))
        return makeError("The keyword file " + path + " does not exist.");
    auto bytes = fsys::readFile(path);
    if (!bytes) return makeError("The keyword file " + path + " could not be read.", bytes.error().code);
    return parseKeywords(*bytes);
}

std::string keywordFilePath(const std::string& installPath, const std::string& name) {
    std::string n = trimBlanks(name);
    if (n.empty() || n == "/") return {};
    n = paths::toNative(n);
    if (paths::isAbsolute(n)) return n;
    return paths::join(installPath, n);
}

Result<std::vector<std::string>> loadKeywords(const std::string& installPath, const std::string& name) {
    std::string path = keywordFilePath(installPath, name);
    if (path.empty()) return std::vector<std::string>{};
    return readKeywordFile(path);
}

}  // namespace varn
