// Reads a tool's log for the build pane: compiler error lines are rewritten
// into the aligned "message  Line: n File: path" form, failure is decided from
// the lines, long logs are cut, and a batch build's log copy is appended to.
#pragma once

#include <optional>
#include <string>

namespace varn {

class Ui;

struct BuildLogResult {
    bool opened = false;       // false: the log could not be opened
    bool copyFailed = false;   // the log copy could not be opened (reported through the Ui)
    bool buildFailed = false;  // meaningful only when the log was opened
    std::string paneText;      // what the build pane shows
    std::size_t widestLine = 0;  // in characters; the pane turns it into pixels
    bool truncated = false;
};

struct JumpTarget {
    std::string path;  // full native path
    int line = 0;      // counted from 1, as written in the pane
};

class BuildLogReader {
public:
    static constexpr std::size_t kPaneLimit = 60000;
    // Opens a failed build's text in the log copy.
    static constexpr const char* kBuildErrorHeader = "***Build Error***\n\n";
    static constexpr const char* kTruncated1 = "There are to many lines in the error log and it has been truncated.\r\n";
    static constexpr const char* kTruncated2 =
        "You can look at varn_c.log in your project directory for the complete error log.\r\n";

    // Reads `logPath`. When `logCopyPath` is not empty the pane text is
    // appended to it; a copy that cannot be opened is reported through `ui`.
    static BuildLogResult read(const std::string& logPath, const std::string& logCopyPath, Ui& ui,
                               bool previousFailed);
    // Appends `text` to a batch build's log copy, creating it when needed; a
    // copy that cannot be opened is reported through `ui` and gives false.
    static bool appendToCopy(const std::string& logCopyPath, const std::string& text, Ui& ui);
    // Rewrites one compiler error line, or returns it unchanged.
    static std::string rewriteLine(const std::string& line);
    // True when a (rewritten) line marks the build as failed.
    static bool marksFailure(const std::string& line);

    // The file and line a double-clicked pane line points at. `cFormToo` adds
    // the C compiler's "path.c:line:" form (the build pane only).
    static std::optional<JumpTarget> jumpTarget(const std::string& paneLine, const std::string& projectFolder,
                                                bool cFormToo = true);
};

}  // namespace varn
