// The contents of the watch bar: three watch panes and the Locals pane, each
// a list of (variable, value). The watch panes' names are kept with the
// project; Locals is filled only by the runtime.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "debug/DebugMessage.h"

namespace varn {

struct WatchItem {
    std::string name;
    std::string value;
    bool operator==(const WatchItem&) const = default;
};

class WatchPanes {
public:
    static constexpr int kWatchPanes = 3;
    static constexpr int kLocals = 3;  // index of the Locals pane
    static constexpr int kPaneCount = 4;
    static constexpr int kNameColumnWidth = 100;
    static constexpr int kValueColumnWidth = 250;
    static constexpr const char* kNameColumn = "Variable";
    static constexpr const char* kValueColumn = "Value";

    // "Watch1", "Watch2", "Watch3", "Locals".
    static std::string title(int pane);
    static bool isWatchPane(int pane) { return pane >= 0 && pane < kWatchPanes; }

    const std::vector<WatchItem>& items(int pane) const { return panes_.at(pane); }
    std::vector<std::string> names(int pane) const;

    // The tab shown in front.
    int activePane = 0;

    void add(int pane, const std::string& name, const std::string& value = {});
    // For each pair: the value of the first item whose name equals it
    // without regard to case; names not in the pane are ignored.
    void setValues(int pane, const std::vector<NameValue>& values);
    // "Clear Window": empties the three watch panes.
    void clearWatches();
    void clearLocals() { panes_[kLocals].clear(); }
    // "Delete Variable": removes the items at these rows (any order; rows out of range are ignored).
    void deleteRows(int pane, std::vector<std::size_t> rows);
    // Removes the first item of that name (without regard to case); false when none.
    bool deleteByName(int pane, const std::string& name);

    // The three watch panes' names to and from the project's watch lists.
    void loadWatchLists(const std::array<std::vector<std::string>, kWatchPanes>& lists);
    std::array<std::vector<std::string>, kWatchPanes> watchLists() const;

private:
    std::array<std::vector<WatchItem>, kPaneCount> panes_;
};

}  // namespace varn
