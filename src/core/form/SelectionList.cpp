#include "form/SelectionList.h"

#include <algorithm>

#include "app/Ui.h"

namespace varn {

SelectionList::SelectionList(std::vector<std::string> items, int size) : items_(std::move(items)) {
    if (items_.size() > static_cast<std::size_t>(kMaxSize)) items_.resize(kMaxSize);
    size_ = std::clamp(size, 0, kMaxSize);
}

bool SelectionList::insert(int index, std::string line) {
    if (count() >= kMaxSize || index < 0 || index > count()) return false;
    items_.insert(items_.begin() + index, std::move(line));
    size_ = std::max(size_, count());
    return true;
}

bool SelectionList::remove(int index) {
    if (!valid(index)) return false;
    items_.erase(items_.begin() + index);
    return true;
}

bool SelectionList::setItem(int index, std::string line) {
    if (!valid(index)) return false;
    items_[index] = std::move(line);
    return true;
}

bool SelectionList::move(int from, int to) {
    if (!valid(from) || !valid(to)) return false;
    std::string line = std::move(items_[from]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(line));
    return true;
}

bool SelectionList::setSize(int size, Ui& ui) {
    if (size < 0 || size > kMaxSize || size == size_) return false;
    if (size < count()) {
        if (!ui.askOkCancel(kSelectionListShrink, {}, MsgIcon::Warning)) return false;
        items_.resize(static_cast<std::size_t>(size));
    }
    size_ = size;
    return true;
}

void SelectionList::apply(std::vector<std::string>& items, int& size) const {
    items = items_;
    size = size_;
}

}  // namespace varn
