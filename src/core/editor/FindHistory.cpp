#include "editor/FindHistory.h"

#include <cstdio>

#include "platform/SettingsStore.h"

namespace varn {

std::string FindHistory::entryKey(int n) {
    char key[16];
    std::snprintf(key, sizeof key, kEntryKey, n);
    return key;
}

FindHistory FindHistory::load(const SettingsStore& store) {
    FindHistory h;
    for (int n = 1; n <= kEntries; ++n) {
        std::string entry = store.getString(kSection, entryKey(n));
        if (entry.empty()) break;
        h.entries.push_back(std::move(entry));
    }
    h.matchCase = store.getInt(kSection, kMatchCase, 0) != 0;
    h.regularExpression = store.getInt(kSection, kRegularExpressions, 0) != 0;
    return h;
}

void FindHistory::record(SettingsStore& store, const std::string& text, bool matchCase_, bool regularExpression_) {
    store.setInt(kSection, kRegularExpressions, regularExpression_ ? 1 : 0);
    store.setInt(kSection, kMatchCase, matchCase_ ? 1 : 0);
    if (!text.empty() && store.getString(kSection, entryKey(1)) != text) {
        std::string carried = text;
        for (int n = 1; n <= kEntries; ++n) {
            std::string old = store.getString(kSection, entryKey(n));
            store.setString(kSection, entryKey(n), carried);
            if (old == text || old.empty()) break;
            carried = std::move(old);
        }
    }
    *this = load(store);
}

}  // namespace varn
