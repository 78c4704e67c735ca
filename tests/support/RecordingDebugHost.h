// A window layer for run-and-debug tests: open source documents as sets of
// breakpoint lines, one caret, and a record of the statements shown, the
// layout switches and the calls to the front.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "debug/DebugHost.h"

namespace varn::test {

struct RecordingDebugHost : DebugHost {
    std::vector<std::pair<std::string, int>> opened;
    std::map<std::string, std::set<int>> flags;  // open documents and their breakpoint lines
    SourceCaret caret;
    std::vector<bool> layouts;
    int fronts = 0;

    void openAtCurrentStatement(const std::string& path, int line0) override { opened.push_back({path, line0}); }
    std::vector<DocumentBreakpoints> openSourceBreakpoints() override {
        std::vector<DocumentBreakpoints> docs;
        for (const auto& [path, lines] : flags) docs.push_back({path, {lines.begin(), lines.end()}});
        return docs;
    }
    void toggleBreakpointAtCaret() override {
        auto& lines = flags[caret.path];
        if (!lines.erase(caret.line)) lines.insert(caret.line);
    }
    void clearAllBreakpointFlags() override {
        for (auto& entry : flags) entry.second.clear();
    }
    std::optional<SourceCaret> activeSourceCaret() override { return caret; }
    void switchLayout(bool debugMode) override { layouts.push_back(debugMode); }
    void bringToFront() override { ++fronts; }
};

}  // namespace varn::test
