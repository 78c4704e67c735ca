#include "debug/WatchPanes.h"

#include <algorithm>

#include "platform/Paths.h"

namespace varn {

std::string WatchPanes::title(int pane) {
    if (isWatchPane(pane)) return "Watch" + std::to_string(pane + 1);
    return "Locals";
}

std::vector<std::string> WatchPanes::names(int pane) const {
    std::vector<std::string> out;
    for (const WatchItem& item : panes_.at(pane)) out.push_back(item.name);
    return out;
}

void WatchPanes::add(int pane, const std::string& name, const std::string& value) {
    panes_.at(pane).push_back({name, value});
}

void WatchPanes::setValues(int pane, const std::vector<NameValue>& values) {
    std::vector<WatchItem>& list = panes_.at(pane);
    for (const NameValue& v : values) {
        auto it = std::find_if(list.begin(), list.end(),
                               [&](const WatchItem& item) { return paths::equalNoCase(item.name, v.name); });
        if (it != list.end()) it->value = v.value;
    }
}

void WatchPanes::clearWatches() {
    for (int i = 0; i < kWatchPanes; ++i) panes_[i].clear();
}

void WatchPanes::deleteRows(int pane, std::vector<std::size_t> rows) {
    std::vector<WatchItem>& list = panes_.at(pane);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (*it < list.size()) list.erase(list.begin() + static_cast<std::ptrdiff_t>(*it));
    }
}

bool WatchPanes::deleteByName(int pane, const std::string& name) {
    std::vector<WatchItem>& list = panes_.at(pane);
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const WatchItem& item) { return paths::equalNoCase(item.name, name); });
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

void WatchPanes::loadWatchLists(const std::array<std::vector<std::string>, kWatchPanes>& lists) {
    for (int i = 0; i < kWatchPanes; ++i) {
        panes_[i].clear();
        for (const std::string& name : lists[i]) panes_[i].push_back({name, {}});
    }
}

std::array<std::vector<std::string>, WatchPanes::kWatchPanes> WatchPanes::watchLists() const {
    std::array<std::vector<std::string>, kWatchPanes> lists;
    for (int i = 0; i < kWatchPanes; ++i) lists[i] = names(i);
    return lists;
}

}  // namespace varn
