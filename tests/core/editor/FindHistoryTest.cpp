// The "Settings\Find" history: the shifting rule and the two options.
#include <gtest/gtest.h>

#include "editor/FindHistory.h"
#include "platform/SettingsStore.h"

using namespace varn;

namespace {

using Entries = std::vector<std::string>;
const char* const kSection = "Settings\\Find";

SettingsStore storeWith(const Entries& entries) {
    SettingsStore s;
    for (std::size_t i = 0; i < entries.size(); ++i) s.setString(kSection, "Find" + std::to_string(i + 1), entries[i]);
    return s;
}

}  // namespace

TEST(FindHistory, ShiftingRule) {
    const Entries ten = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    struct Row {
        Entries before;
        std::string text;
        Entries after;  // raw Find1..Find10, trailing missing ones left out
    };
    const Row rows[] = {
        {{}, "a", {"a"}},
        {{"a", "b", "c"}, "a", {"a", "b", "c"}},
        {{"a", "b", "c"}, "b", {"b", "a", "c"}},
        {{"a", "b", "c"}, "c", {"c", "a", "b"}},
        {{"a", "b", "c"}, "d", {"d", "a", "b", "c"}},
        {ten, "x", {"x", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        {ten, "10", {"10", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        {{"a", "", "c"}, "x", {"x", "a", "c"}},  // the gap is filled, later entries stay
        {{"abc"}, "ABC", {"ABC", "abc"}},
        {{"a", "b"}, "", {"a", "b"}},
    };
    for (const Row& r : rows) {
        SettingsStore s = storeWith(r.before);
        FindHistory().record(s, r.text, false, false);
        Entries raw;
        for (int n = 1; n <= FindHistory::kEntries; ++n) raw.push_back(s.getString(kSection, FindHistory::entryKey(n)));
        while (!raw.empty() && raw.back().empty()) raw.pop_back();
        EXPECT_EQ(raw, r.after) << "adding '" << r.text << "'";
    }
}

TEST(FindHistory, LoadAndOptions) {
    SettingsStore s = storeWith({"a", "b", "", "d"});
    FindHistory h = FindHistory::load(s);
    EXPECT_EQ(h.entries, (Entries{"a", "b"}));  // up to the first empty entry
    EXPECT_EQ(h.initialText(), "a");
    EXPECT_FALSE(h.matchCase);
    EXPECT_FALSE(h.regularExpression);

    h.record(s, "", true, false);
    EXPECT_EQ(s.getString(kSection, "Match case"), "1");
    EXPECT_EQ(s.getString(kSection, "Regular expressions"), "0");
    h.record(s, "x", false, true);
    EXPECT_EQ(h.entries, (Entries{"x", "a", "b", "d"}));  // the gap filled
    EXPECT_FALSE(h.matchCase);
    EXPECT_TRUE(h.regularExpression);
}
