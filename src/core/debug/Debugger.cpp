#include "debug/Debugger.h"

#include <algorithm>

#include "platform/Paths.h"

namespace varn {

void Debugger::rebuildFrom(const std::vector<DocumentBreakpoints>& documents) {
    std::vector<Breakpoint>& list = *breakpoints_;
    for (const DocumentBreakpoints& doc : documents) {
        std::erase_if(list, [&](const Breakpoint& b) { return paths::equalNoCase(b.path, doc.path); });
        for (int line : doc.lines) list.push_back({line, doc.path});
    }
}

std::vector<int> Debugger::linesFor(const std::string& path) const {
    std::vector<int> lines;
    for (const Breakpoint& b : *breakpoints_) {
        if (paths::equalNoCase(b.path, path)) lines.push_back(b.line);
    }
    return lines;
}

void Debugger::removeAll() { breakpoints_->clear(); }

void Debugger::resetRun() {
    stopLine = 0;
    stopFile.clear();
    stopped = false;
    fileList.clear();
}

}  // namespace varn
