// The project search behind "Find in Files...", "Find All Functions", Find
// Function and Go to Invoker. It walks the project's source files in project
// order; a file that is open as a document is searched in its current text
// (unsaved changes included), any other is read from disk.
//
// List mode writes one entry per matching line into a find pane, in the form
// "%-60.60s  Line: %-5d File: %s\r\n", and ends with the count line. The
// files are read and searched on a small pool of threads; the pane still gets
// the entries in project order, exactly as one thread would write them.
// First-match mode stops at the first match and returns where it is, so that
// the caller can bring that document and line into view.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varn {

class Ui;
class ProjectTree;
class OpenDocuments;
class LineSearch;

// The find pane the list mode writes to (one of the output bar's two panes).
class FindPane {
public:
    virtual ~FindPane() = default;
    virtual void append(std::string_view text) = 0;
    // Length of the pane's whole text, in characters.
    virtual std::size_t length() const = 0;
    // Shows the last line; called after each file and at the end.
    virtual void scrollToEnd() {}
};

// A pane that only keeps its text: batch use, tests, and the GUI when it
// prefers to set the text once at the end.
class TextFindPane : public FindPane {
public:
    void append(std::string_view t) override { text.append(t); }
    std::size_t length() const override { return text.size(); }
    std::string text;
};

struct FindOptions {
    std::string text;
    bool matchCase = false;
    bool regularExpression = false;
};

struct FindSummary {
    // False when the search ended early: a file could not be opened, or the
    // search text is not a valid regular expression. No count line is written then.
    bool completed = false;
    int count = 0;           // entries written
    bool truncated = false;  // the pane reached its size limit at least once
};

struct FindLocation {
    std::string path;        // as held by the project
    int line = 0;            // from 1
    std::size_t column = 0;  // byte offset of the match in its line, from 0
    std::size_t length = 0;  // length of the match in bytes
    std::string lineText;    // the whole line, without its terminator
};

class FindInFiles {
public:
    static constexpr std::size_t kPaneLimit = 60000;
    static constexpr const char* kEntryFormat = "%-60.60s  Line: %-5d File: %s\r\n";
    static constexpr const char* kTruncated = "\r\nThere are to many lines. The output been truncated.\r\n\r\n";
    static constexpr const char* kCountFormat = "%d occurrence(s) have been found.\r\n";
    static constexpr const char* kCouldNotOpen = "Could not open %s.";
    static constexpr const char* kFunctionNotFound = "Function not found.";
    static constexpr const char* kInvokerNotDefined = "Invoker function not defined.";
    static constexpr const char* kInvalidExpression = "The regular expression is not valid: %s";

    // "Find All Functions": every function declaration line.
    static constexpr const char* kAllFunctionsPattern = "^[ \t]*function[a-z0-9_ \t]*[(a-z,0-9_ \t)]*;";
    // A declaration of one function, parameter list allowed: Find Function
    // and the property panes' Go to Invoker. The name is put in as it stands.
    static constexpr const char* kFunctionPattern = "^[ \t]*function[ \t]*%s[ \t]*[(a-z,0-9_ \t)]*;";
    // A declaration without parameters: the designer's Go to Invoker.
    static constexpr const char* kInvokerPattern = "^[ \t]*function[ \t]*%s[ \t]*;";

    // `documents` gives the text of the open documents (with their unsaved
    // changes); it may be null: every file is then read from disk.
    explicit FindInFiles(Ui& ui, const OpenDocuments* documents = nullptr);

    // Threads that read and search the files of the list mode; 0 (the
    // default) takes as many as the machine has cores, at least 2; 1 searches
    // on the calling thread alone.
    void setThreads(unsigned threads) { threads_ = threads; }
    // Bytes read from a file at a time.
    void setPieceSize(std::size_t bytes) { pieceSize_ = bytes; }
    // Called on the calling thread, about ten times a second, while the list
    // mode waits for the files: the window keeps itself alive there. False
    // cancels the search, which then ends without its count line.
    void setWaitHook(std::function<bool()> hook) { waitHook_ = std::move(hook); }

    // The files a project search walks: the application file, includes, forms,
    // C files and headers, in project order, each path once.
    static std::vector<std::string> projectFiles(const ProjectTree& tree);

    // List mode into `pane` (which the caller has cleared and shown). Shows the
    // wait cursor while it runs. A file that cannot be opened is reported with
    // "Could not open %s." and ends the search.
    FindSummary list(const std::vector<std::string>& files, const FindOptions& options, FindPane& pane);
    // "Find All Functions" into `pane`: the list mode with kAllFunctionsPattern,
    // regular expression on, case ignored.
    FindSummary listFunctions(const std::vector<std::string>& files, FindPane& pane);

    // First-match mode: regular expression, case ignored. Empty when nothing
    // matches, when a file cannot be opened (reported as in list mode) or when
    // the expression is not valid (not reported: the caller's own message says
    // that nothing was found).
    std::optional<FindLocation> first(const std::vector<std::string>& files, const std::string& expression);
    // Find Function: the declaration of `name`; shows "Function not found."
    // (exclamation) when there is none.
    std::optional<FindLocation> findFunction(const std::vector<std::string>& files, const std::string& name);
    // Go to Invoker: `withParameters` is the property panes' form, otherwise
    // the designer's. Shows "Invoker function not defined." (exclamation) when
    // there is none.
    std::optional<FindLocation> findInvoker(const std::vector<std::string>& files, const std::string& name,
                                            bool withParameters);

    // One list entry for a matching line (line from 1).
    static std::string formatEntry(std::string_view lineText, int line, const std::string& path);
    static std::string countLine(int count);
    // A pattern with the name put in for "%s".
    static std::string withName(const char* pattern, const std::string& name);

private:
    struct FileEntries;
    // Searches one file (its open document's text when it has one) and keeps
    // its entries, as many as the pane could take.
    FileEntries searchFile(LineSearch& search, const std::string& path, const std::optional<std::string>& open,
                           const std::atomic<bool>* cancel) const;

    Ui& ui_;
    const OpenDocuments* documents_;
    unsigned threads_ = 0;
    std::size_t pieceSize_;
    std::function<bool()> waitHook_;
};

}  // namespace varn
