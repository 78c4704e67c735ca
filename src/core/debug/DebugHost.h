// What run and debug need of the window layer: the source views with their
// breakpoint and current-statement marks, the caret, the window layout and
// the watch bar. The main frame implements it; tests record the calls.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "debug/Debugger.h"

namespace varn {

// The caret of the active source view.
struct SourceCaret {
    std::string path;  // native path of the document
    int line = 1;      // from 1
};

class DebugHost {
public:
    virtual ~DebugHost() = default;

    virtual void clearBuildPane() {}
    // One line of the started program's life for the output bar: started,
    // its error stream, ended with its exit code.
    virtual void programOutput(const std::string& /*line*/) {}
    // Opens the file (or activates its view), shows line `line0` (from 0) and
    // puts the current-statement mark there, removing it from other lines.
    virtual void openAtCurrentStatement(const std::string& path, int line0) = 0;
    // The flagged breakpoint lines (from 1) of every open source document.
    virtual std::vector<DocumentBreakpoints> openSourceBreakpoints() = 0;
    // Flips the breakpoint flag of the caret's line in the active source view
    // and repaints that document's views.
    virtual void toggleBreakpointAtCaret() = 0;
    // Clears the breakpoint flag of every line of every open source document.
    virtual void clearAllBreakpointFlags() = 0;
    // The active source view's caret; none when the active window is no source.
    virtual std::optional<SourceCaret> activeSourceCaret() = 0;
    // The expression at the caret of the active source view ("" when none).
    virtual std::string expressionAtCaret() { return {}; }
    // Debug mode: output bar hidden, watch bar shown; else the reverse. The
    // debug menu follows.
    virtual void switchLayout(bool debugMode) = 0;
    // Topmost, then not topmost, then the foreground window.
    virtual void bringToFront() {}
    // The watch bar shows the panes again.
    virtual void refreshWatchViews() {}
};

}  // namespace varn
