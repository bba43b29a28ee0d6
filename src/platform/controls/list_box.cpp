#include "platform/controls/list_box.h"

namespace plx {

std::vector<std::string> ListBox::texts() const {
    std::vector<std::string> all;
    all.reserve(items_.size());
    for (const Item& item : items_) all.push_back(item.text);
    return all;
}

void ListBox::setText(int row, const std::string& text) {
    items_.at(row).text = text;
    ++rewrites_;
    itemsChanged();
}

void ListBox::setSelected(int row, bool selected) {
    auto& item = items_.at(row);
    if (item.selected == selected) return;
    item.selected = selected;
    changed();
}

void ListBox::setCurrentRow(int row) {
    if (row < -1 || row >= count()) row = -1;
    if (currentRow_ == row) return;
    currentRow_ = row;
    changed();
}

void ListBox::addItem(const std::string& text) {
    items_.push_back(Item{text});
    itemsChanged();
}

void ListBox::removeItem(int row) {
    items_.erase(items_.begin() + row);
    ++(row == 0 ? removedFromTop_ : rewrites_);
    if (currentRow_ == row) {
        currentRow_ = -1;
    } else if (currentRow_ > row) {
        --currentRow_;
    }
    itemsChanged();
}

void ListBox::clear() {
    items_.clear();
    ++rewrites_;
    currentRow_ = -1;
    itemsChanged();
}

}  // namespace plx
