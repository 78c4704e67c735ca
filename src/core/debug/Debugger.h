// The debugger's state: the breakpoint list (the project's own list, which
// the project file saves), where the program last stopped, whether the
// breakpoints must be sent again, and the runtime's list of source files.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "project/ProjectModel.h"

namespace varn {

// The breakpoint lines (from 1) of one open source document.
struct DocumentBreakpoints {
    std::string path;  // native
    std::vector<int> lines;
};

class Debugger {
public:
    // `breakpoints` is the project model's list; it outlives the debugger.
    explicit Debugger(std::vector<Breakpoint>& breakpoints) : breakpoints_(&breakpoints) {}

    // Every entry is enabled; an entry is a line (from 1) and a native path.
    std::vector<Breakpoint>& breakpoints() { return *breakpoints_; }
    const std::vector<Breakpoint>& breakpoints() const { return *breakpoints_; }
    std::size_t breakpointCount() const { return breakpoints_->size(); }

    int stopLine = 0;  // from 1
    std::string stopFile;
    bool breakpointsDirty = false;
    bool stopped = false;
    std::vector<std::string> fileList;  // the runtime's source files, in its order

    // For each document: its entries are dropped, then one is added for each
    // flagged line. Entries of files not open stay as they were.
    void rebuildFrom(const std::vector<DocumentBreakpoints>& documents);
    // The lines (from 1) to flag in a document being opened (paths compared
    // without regard to case).
    std::vector<int> linesFor(const std::string& path) const;
    void removeAll();
    // Forgets the stop place and the runtime's file list (a new run begins).
    void resetRun();

private:
    std::vector<Breakpoint>* breakpoints_;
};

}  // namespace varn
