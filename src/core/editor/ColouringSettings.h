// The colouring and tab settings of the source editor: one settings-store
// section per kind of edited file, the defaults start-up fills in, the colour
// text form "r,g,b", and the keyword list files the sections name.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "image/Rgb.h"
#include "platform/Result.h"

namespace varn {

class SettingsStore;

// Section names, one per kind of edited file.
inline constexpr const char* kSourceFilesSection = "Editor\\VARN Source Files";
inline constexpr const char* kCBuildFilesSection = "Editor\\VARN C_Build Files";
inline constexpr const char* kDefaultFilesSection = "Editor\\VARN Default Files";

// Key names of an editor section. The store finds keys without regard to
// case, so "Tab size" here and the IDE settings' "Tab Size" are one value.
struct ColouringKey {
    static constexpr const char* ShowTabs = "Show tabs";
    static constexpr const char* TabSize = "Tab size";
    static constexpr const char* Case = "Case";
    static constexpr const char* CommentStart1 = "Comment Start 1";
    static constexpr const char* CommentEnd1 = "Comment End 1";
    static constexpr const char* CommentStart2 = "Comment Start 2";
    static constexpr const char* CommentEnd2 = "Comment End 2";
    static constexpr const char* Background = "Background";
    static constexpr const char* DefaultText = "Default Text";
    static constexpr const char* SQuote = "SQuote";
    static constexpr const char* Quote = "Quote";
    static constexpr const char* Keyword = "Keyword";
    static constexpr const char* Comment = "Comment";
    static constexpr const char* ExtraWordChars = "Extra word chars";
    static constexpr const char* Chroma = "Chroma";
    static constexpr const char* Keywords = "Keywords";
    static constexpr const char* TerminatorChars = "Terminator chars";
    // Written by the IDE settings only; not part of the start-up defaults.
    static constexpr const char* KeepTabs = "Keep tabs";
};

// One key of the start-up defaults with its value for each section.
struct ColouringDefault {
    const char* key;
    bool integer;
    const char* source;
    const char* cBuild;
    const char* other;  // "Editor\VARN Default Files"
};

// The sixteen keys every editor section holds after start-up, in the order
// they are written.
inline constexpr std::array<ColouringDefault, 16> kColouringDefaults = {{
    {ColouringKey::ShowTabs, true, "0", "0", "0"},
    {ColouringKey::TabSize, true, "4", "4", "8"},
    {ColouringKey::Case, true, "1", "1", "0"},
    {ColouringKey::CommentStart1, false, "#", "/*", ""},
    {ColouringKey::CommentEnd1, false, "", "*/", ""},
    {ColouringKey::CommentStart2, false, "", "//", ""},
    {ColouringKey::CommentEnd2, false, "", "", ""},
    {ColouringKey::Background, false, "255,255,255", "255,255,255", "255,255,255"},
    {ColouringKey::DefaultText, false, "0,0,0", "0,0,0", "0,0,0"},
    {ColouringKey::SQuote, false, "255,0,0", "255,0,0", "255,0,0"},
    {ColouringKey::Quote, false, "255,0,0", "255,0,0", "255,0,0"},
    {ColouringKey::Keyword, false, "0,0,255", "0,0,255", "0,0,0"},
    {ColouringKey::Comment, false, "0,128,0", "0,128,0", "0,0,0"},
    {ColouringKey::ExtraWordChars, false, "#", "#", ""},
    {ColouringKey::Chroma, true, "1", "1", "0"},
    {ColouringKey::Keywords, false, "varnide.ini", "c_build.ini", "/"},
}};

// Written into the source section after every start-up, over any value.
inline constexpr const char* kSourceTerminatorChars = ">";

// The default of `key` for `section` (an unknown section takes the default
// files' column); empty for a key outside the table.
std::string colouringDefault(const std::string& section, const std::string& key);

// The section that governs a file by its extension (no case): VARN sources
// (".vsl", package ".vpk" and form text ".vff") take the source section, C
// files and headers (".c", ".h") the C build section, every other file the
// default section.
std::string editorSectionFor(const std::string& path);

// Start-up: for the C build, default and source sections in that order, every
// key of the table is read with its column's default (a present value wins)
// and all sixteen are written back in table order; then the source section's
// "Terminator chars" becomes ">".
void normaliseColouring(SettingsStore& store);

// A colour text: up to three comma-separated decimal numbers (red, green,
// blue), read as a C scanner of "%d,%d,%d" reads them: blanks before a number
// are skipped, a sign is allowed, and reading stops at the first text that
// does not fit; numbers not read count as 0. Each number is taken modulo 256
// towards the byte, so "-1" is 255 and "999" is 231, however long the digits run.
Rgb parseColour(const std::string& text);
// "%d,%d,%d" of red, green and blue.
std::string formatColour(Rgb colour);

// Everything the editing engine takes from one section.
struct EditorSection {
    static constexpr int kMinTabSize = 1;
    static constexpr int kMaxTabSize = 32;

    bool showTabs = false;
    int tabSize = 4;
    bool keepTabs = true;
    bool caseSensitive = true;
    std::string commentStart1;
    std::string commentEnd1;
    std::string commentStart2;
    std::string commentEnd2;
    Rgb background = kWhite;
    Rgb defaultText = kBlack;
    Rgb squote;
    Rgb quote;
    Rgb keyword;
    Rgb comment;
    std::string extraWordChars;
    bool chroma = true;
    std::string keywordsFile;
    std::string terminatorChars;
};

// Reads a section with its column's defaults; the tab size is clamped to
// 1..32 and "Keep tabs" defaults to 1.
EditorSection readEditorSection(const SettingsStore& store, const std::string& section);

// A keyword list file: one keyword a line, surrounding blanks and tabs
// trimmed, blank lines and lines beginning with "#" skipped, lines ended by
// CR LF or LF. A file that cannot be read is an error naming it.
Result<std::vector<std::string>> readKeywordFile(const std::string& path);
std::vector<std::string> parseKeywords(const std::string& text);

// The file a "Keywords" value names: empty for "/" or an empty name (no
// keywords), the name itself when it is a full path, else the name in the
// installation folder.
std::string keywordFilePath(const std::string& installPath, const std::string& name);
// The keywords a section's "Keywords" value names (none for "/" or empty).
Result<std::vector<std::string>> loadKeywords(const std::string& installPath, const std::string& name);

}  // namespace varn
