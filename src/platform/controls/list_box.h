#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace plx {

// A list of text lines, each with item data and a selected state, and one current row
// (-1 when none). Rows count from 0.
class ListBox : public Control {
  public:
    ListBox(Form& form, std::string name, bool multiSelect = false)
        : Control(&form, nullptr, ControlKind::ListBox, std::move(name), -1),
          multiSelect_(multiSelect) {}

    int count() const { return static_cast<int>(items_.size()); }
    const std::string& text(int row) const { return items_.at(row).text; }
    // Every row's text, in row order.
    std::vector<std::string> texts() const;
    void setText(int row, const std::string& text);
    std::int32_t itemData(int row) const { return items_.at(row).itemData; }
    void setItemData(int row, std::int32_t data) { items_.at(row).itemData = data; }
    bool selected(int row) const { return items_.at(row).selected; }
    void setSelected(int row, bool selected);
    int currentRow() const { return currentRow_; }
    void setCurrentRow(int row);

    void addItem(const std::string& text);
    // Removes a row; the rows below move up. Removing the current row leaves none current.
    void removeItem(int row);
    void clear();

    bool multiSelect() const { return multiSelect_; }
    // A log: its view opens at the newest line, at the end, and follows new lines while the
    // operator reads there. Any other list opens at its top and stays where it is put.
    bool followsEnd() const { return followsEnd_; }
    void setFollowsEnd(bool follows) { followsEnd_ = follows; }
    // Bumped whenever rows are added, removed or rewritten, so a view knows to rebuild.
    std::uint64_t revision() const { return revision_; }
    // Rows removed from the top so far (a log drops its oldest line for each new one): a view
    // keeps the operator's place by it.
    std::uint64_t removedFromTop() const { return removedFromTop_; }
    // Bumped by every change of rows other than a row added at the end or removed from the
    // top: while it stands, a view that showed the rows before only drops rows from its top
    // and adds the newest at its end.
    std::uint64_t rewrites() const { return rewrites_; }

    // The operator double-clicks a row (after the click itself has made it current).
    void doubleClick() {
        if (onDblClick) onDblClick();
    }
    std::function<void()> onDblClick;

  private:
    struct Item {
        std::string text;
        std::int32_t itemData = 0;
        bool selected = false;
    };
    void itemsChanged() {
        ++revision_;
        changed();
    }

    std::deque<Item> items_;
    int currentRow_ = -1;
    bool multiSelect_;
    bool followsEnd_ = false;
    std::uint64_t revision_ = 0;
    std::uint64_t removedFromTop_ = 0;
    std::uint64_t rewrites_ = 0;
};

}  // namespace plx
