// The search history and options shared by Find in Files and the editor's
// Find and Replace dialogs, kept in the settings store's "Settings\Find"
// section: "Find1" (most recent) to "Find10", "Match case" and
// "Regular expressions".
#pragma once

#include <string>
#include <vector>

namespace varn {

class SettingsStore;

struct FindHistory {
    static constexpr const char* kSection = "Settings\\Find";
    static constexpr const char* kEntryKey = "Find%d";
    static constexpr const char* kMatchCase = "Match case";
    static constexpr const char* kRegularExpressions = "Regular expressions";
    static constexpr int kEntries = 10;

    // Entry 1 first, up to the first missing or empty entry.
    std::vector<std::string> entries;
    bool matchCase = false;
    bool regularExpression = false;

    static FindHistory load(const SettingsStore& store);
    // The text the "Find what:" box starts with: entry 1, or empty.
    std::string initialText() const { return entries.empty() ? std::string() : entries.front(); }

    // What "Find" stores: both options, then `text` at the head of the
    // history unless it is empty or already entry 1. Older entries move down
    // one place until the one equal to `text` is overwritten, an empty entry
    // is filled, or entry 10 is written. `entries` is reloaded afterwards.
    void record(SettingsStore& store, const std::string& text, bool matchCase, bool regularExpression);

    static std::string entryKey(int n);
};

}  // namespace varn
