// The "Selection List" dialog's model: the items of a dropdown's or
// selector's list (Count of them) and the list's declared size, with the
// rules that keep the two in step while the user edits.
#pragma once

#include <string>
#include <vector>

namespace varn {

class Ui;

inline constexpr const char* kSelectionListTitle = "Selection List";
inline constexpr const char* kSelectionListShrink =
    "Warning, setting the size smaller than the current count will remove entries from the end.";

class SelectionList {
public:
    static constexpr int kMaxSize = 65000;

    // Opens on a control's list items and declared size. Items beyond the
    // largest count are dropped and the size is kept within 0..kMaxSize.
    SelectionList(std::vector<std::string> items, int size);

    // The list heading: the caller's title, such as "Dropdown List", and " Contents:".
    static std::string heading(const std::string& title) { return title + " Contents:"; }

    int count() const { return static_cast<int>(items_.size()); }
    int size() const { return size_; }
    const std::vector<std::string>& items() const { return items_; }

    // Adds a line at `index` (count() appends): Count goes up by one and Size
    // follows it when Count would exceed it. False when the list is full.
    bool insert(int index, std::string line);
    bool add(std::string line) { return insert(count(), std::move(line)); }
    // Deletes a line: Count goes down by one, Size stays.
    bool remove(int index);
    bool setItem(int index, std::string line);
    // Moves a line to another place (reordering).
    bool move(int from, int to);

    // The user sets Size. Outside 0..kMaxSize it is refused. Below Count the
    // shrink question is asked: OK removes lines from the end until Count
    // equals Size, Cancel keeps the previous Size. True when Size changed.
    bool setSize(int size, Ui& ui);

    // OK: the control's items become the lines and its declared size Size.
    void apply(std::vector<std::string>& items, int& size) const;

private:
    bool valid(int index) const { return index >= 0 && index < count(); }

    std::vector<std::string> items_;
    int size_ = 0;
};

}  // namespace varn
