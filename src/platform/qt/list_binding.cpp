// Binding of a list box: rows, each row's selected state and the current row.

#include <QItemSelection>
#include <QListWidget>
#include <QScrollBar>

#include "platform/controls/list_box.h"
#include "platform/qt/binding_kinds.h"

namespace plx::qtp {
namespace {

class ListBinding : public ControlBinding {
  public:
    ListBinding(ListBox& list, QWidget* parent, ViewState& view)
        : ControlBinding(list, view), list_(list), widget_(new QListWidget(parent)) {
        widget_->setObjectName(toQt(list.objectName()));
        // Each entry's selected state is set on its own, apart from the current row.
        widget_->setSelectionMode(list.multiSelect() ? QAbstractItemView::MultiSelection
                                                     : QAbstractItemView::SingleSelection);
        widget_->setUniformItemSizes(true);  // long lists lay out in constant time
        watch(widget_);
        connect(widget_, &QListWidget::itemSelectionChanged, this, [this] {
            if (operatorAction() && inStep()) copySelectionToControl();
        });
        connect(widget_, &QListWidget::currentRowChanged, this, [this](int row) {
            if (operatorAction() && inStep()) list_.setCurrentRow(row);
        });
        connect(widget_, &QListWidget::itemDoubleClicked, this, [this] {
            if (operatorAction() && inStep()) list_.doubleClick();
        });
    }
    QWidget* widget() const override { return widget_; }
    bool deferred() const override { return true; }

  private:
    // The widget shows the control's rows (no change is waiting for the refresh): only then
    // does a row of the widget name the same entry in the control.
    bool inStep() const {
        return revision_ == list_.revision() && widget_->count() == list_.count();
    }

    void syncContent() override {
        const bool rebuild = revision_ != list_.revision() || widget_->count() != list_.count();
        QScrollBar* const bar = widget_->verticalScrollBar();
        const int place = bar->value();
        const bool followEnd = rebuild && rebuildRows();
        copySelectionToWidget();
        const int current = list_.currentRow();
        if (widget_->currentRow() != current) {
            if (current < 0) {
                widget_->selectionModel()->setCurrentIndex(QModelIndex(),
                                                           QItemSelectionModel::NoUpdate);
            } else {
                widget_->setCurrentRow(current, QItemSelectionModel::NoUpdate);
            }
        }
        // Last, as setting the current row scrolls to it.
        if (followEnd) {
            widget_->scrollToBottom();
        } else if (rebuild) {
            bar->setValue(place);
        }
    }

    // Refills the widget; returns true when the new rows should be followed: lines came at
    // the end (an event list at its limit drops its first line as it takes a new one).
    // Otherwise the operator keeps his place.
    bool rebuildRows() {
        const int count = list_.count();
        const std::string last = count > 0 ? list_.text(count - 1) : std::string();
        const bool followEnd = count > 0 && (count > shownCount_ || last != shownLast_);
        QStringList rows;
        rows.reserve(count);
        for (int row = 0; row < count; ++row) rows.append(toQt(list_.text(row)));
        widget_->setUpdatesEnabled(false);
        widget_->clear();
        widget_->addItems(rows);
        widget_->setUpdatesEnabled(true);
        revision_ = list_.revision();
        shownCount_ = count;
        shownLast_ = last;
        return followEnd;
    }

    void copySelectionToWidget() {
        QItemSelection selection;
        const int count = list_.count();
        for (int row = 0; row < count;) {
            if (!list_.selected(row)) {
                ++row;
                continue;
            }
            const int first = row;
            while (row < count && list_.selected(row)) ++row;
            selection.select(widget_->model()->index(first, 0),
                             widget_->model()->index(row - 1, 0));
        }
        if (widget_->selectionModel()->selection() != selection) {
            widget_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        }
    }

    void copySelectionToControl() {
        for (int row = 0; row < list_.count() && view_.attached; ++row) {
            const bool selected = widget_->item(row)->isSelected();
            if (list_.selected(row) != selected) list_.setSelected(row, selected);
        }
    }

    ListBox& list_;
    QListWidget* widget_;
    std::uint64_t revision_ = ~std::uint64_t{0};
    int shownCount_ = 0;
    std::string shownLast_;
};

}  // namespace

std::unique_ptr<ControlBinding> bindListBox(ListBox& list, QWidget* parent, ViewState& view) {
    return std::make_unique<ListBinding>(list, parent, view);
}

}  // namespace plx::qtp
