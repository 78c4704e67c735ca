// The text rules the source view applies on top of the editing engine: block
// comments, bookmarks over line flags, the status bar position, the symbol
// and object property lists, Find Function and keyword help. Pure functions
// over line texts; the view does the editing and the drawing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varn {

class SymbolList;
struct SYMBOLS;

// Line flags the IDE sets on the engine's line records.
struct LineFlag {
    static constexpr std::uint32_t Bookmark = 4;
    static constexpr std::uint32_t Breakpoint = 8;
    static constexpr std::uint32_t CurrentStatement = 16;
    static constexpr std::uint32_t ErrorLine = 32;
};

// Command ids of the source view.
struct SourceCommandId {
    static constexpr int ToggleBookmark = 32927;
    static constexpr int NextBookmark = 32928;
    static constexpr int PreviousBookmark = 32929;
    static constexpr int ClearAllBookmarks = 32930;
    static constexpr int FindFunction = 32944;
    static constexpr int ListObjectProperties = 32915;
    static constexpr int ListSymbols = 32953;
    static constexpr int InsertColorValue = 32921;
    static constexpr int CommentBlock = 32955;
    static constexpr int UncommentBlock = 32957;
};

struct SourceTexts {
    // Inserted into the first view of a new, empty ".c" document, which then
    // counts as not modified.
    static constexpr const char* kNewCFile = "#include <VARN_support.h>\r\n#include <VARN_prototypes.h>\r\n\r\n";
    static constexpr const char* kReadOnlyTitleSuffix = " (read-only)";
    static constexpr const char* kReadOnlySave = "The file can not be saved because it is marked read-only";
    static constexpr const char* kHelpFallbackKeyword = "VARN Programmers Reference";
};

// Sizes and ids of the pop-up lists.
struct PopupList {
    static constexpr int kObjectTypesId = 30000;
    static constexpr int kPropertiesId = 30001;
    static constexpr int kSymbolsId = 30002;
    static constexpr int kPropertyListLines = 14;
    static constexpr int kPropertyListChars = 10;
    static constexpr int kSymbolListChars = 42;  // its height: one line more than it has entries
};

// --- Block comments -------------------------------------------------------

// A selection as the engine reports it; lines and columns from 0. Start and
// end may come in either order.
struct TextSelection {
    int startLine = 0;
    int startCol = 0;
    int endLine = 0;
    int endCol = 0;
    bool hasSelection = false;
};

struct BlockCommentPlan {
    std::vector<int> lines;  // the lines to change, ascending
    int caretLine = 0;       // where the caret goes afterwards
};

// Comment and Uncomment Block act on the same lines: with a selection, every
// line from its first line up to, not including, the line where it ends (so
// a selection within one line changes nothing, and one that ends at column 0
// leaves that line alone), the caret then going to the end line; without a
// selection, the caret line, the caret staying.
BlockCommentPlan blockCommentLines(const TextSelection& selection, int caretLine);
// Uncomment Block removes the first character when it is "#"; a line that
// begins with anything else (a blank before "#" included) stays.
bool uncommentable(const std::string& line);

// --- Bookmarks ------------------------------------------------------------

// Next (or previous) line after (before) `caretLine` among `flaggedLines`
// (ascending), wrapping around the document; `caretLine` itself is found
// only after a full turn. None when no line is flagged.
std::optional<int> nextFlaggedLine(const std::vector<int>& flaggedLines, int caretLine, bool forward);

// --- Status bar -----------------------------------------------------------

// "Line %d Col %d" while `line` is below 10000, "Ln %d Col %d" from 10000 on.
// `line` is the line number as shown, counted from 1 (an engine that counts
// from 0 passes its index + 1); `column` is the caret's column counted from 0
// and is shown plus one.
std::string caretStatusText(int line, int column);

// --- Symbol list ------------------------------------------------------------

// The characters that end a word for the symbol list: blank, double quote,
// . [ ] ( ) % { } $ > < ^ ; + - = * / # and comma.
bool isSymbolDelimiter(char c);

// The word around the caret: from just after the last delimiter before
// `column` to just before the first delimiter at or after it (columns from 0,
// clamped to the line). `prefix` is its text lower-cased; Enter in the list
// replaces [start, end) by the chosen entry's insertion text.
struct SymbolWord {
    int start = 0;
    int end = 0;
    std::string prefix;
};
SymbolWord symbolWordAt(const std::string& line, int column);
std::string symbolPrefix(const std::string& line, int column);

// One list entry: name + ", " + kind + " " + parameter text, and for the kind
// "function" " as " + description.
std::string symbolEntry(const SYMBOLS& symbol);
// The entries of every symbol with a name, sorted as the sorted list box
// sorts them: without regard to case, ties in list order.
std::vector<std::string> symbolEntries(const SymbolList& symbols);
std::vector<std::string> symbolEntries(const std::vector<SYMBOLS>& symbols);
// The first entry whose first characters (as many as the prefix has),
// compared without regard to case, are not less than the prefix; -1 when no
// entry is (the list then has no selection).
int initialSelection(const std::vector<std::string>& entries, const std::string& prefix);
// What choosing an entry inserts: its text up to the first comma.
std::string insertionText(const std::string& entry);

// --- Find Function and keyword help ------------------------------------------

// The word (letters, digits, "_") that holds the caret or ends at it; empty
// when there is none.
std::string wordAtCaret(const std::string& line, int column);
// F1: the word at the caret, else "VARN Programmers Reference" (the help's
// title, which names no entry: the help opens at its index).
std::string helpKeyword(const std::string& line, int column);

// --- Object property lists ----------------------------------------------------

// The thirteen object types, in table order.
std::vector<std::string> objectTypeNames();
// A type's properties in table order; empty for a name that is no type.
std::vector<std::string> propertiesOf(const std::string& typeName);

// The object type `name` was declared with: the nearest whole-word
// occurrence of `name` (no case) before the end of `textBeforeCaret` that
// stands after a type word, possibly behind a list of names ("button a, b"),
// not in a "#" comment. Type words are the table's names and "dropdown",
// "menu bar", "menu item", "menu top" and "object"; the answer is the table's
// name ("drop_down", "menu_bar"...) or "object", which names no one type (the
// view then offers the type list).
std::optional<std::string> declaredObjectType(const std::string& textBeforeCaret, const std::string& name);
// Typing "." after a name: the declared type of the name that ends
// `textBeforeDot`; none when no name ends it or it has no declaration.
std::optional<std::string> autoPropertyType(const std::string& textBeforeDot);

}  // namespace varn
