// Binding of a list box: rows, each row's selected state and the current row.

#include <QFocusEvent>
#include <QItemSelection>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/controls/list_box.h"
#include "platform/qt/binding_kinds.h"

namespace plx::qtp {
namespace {

// Only the operator makes a row current (a click, a key in the list): Edit and Remove act on
// it. Qt's views make the first row current when they get the focus without one; here that
// row is dropped again before anyone hears of it.
class OperatorsList : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    void focusInEvent(QFocusEvent* event) override {
        if (currentIndex().isValid()) return QListWidget::focusInEvent(event);
        const QSignalBlocker unheard(this);
        QListWidget::focusInEvent(event);
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
};

// A frame around the current row, with or without the focus, so that the row Edit and
// Remove act on is always in sight and never mistaken for the selection.
class CurrentRowFrame : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem row(option);
        row.state &= ~QStyle::State_HasFocus;  // the style's focus mark would be a second one
        QStyledItemDelegate::paint(painter, row, index);
        const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
        if (view == nullptr || view->currentIndex() != index) return;
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setPen(
            QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text), 1,
                 Qt::DotLine));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

class ListBinding : public ControlBinding {
  public:
    ListBinding(ListBox& list, QWidget* parent, ViewState& view)
        : ControlBinding(list, view), list_(list), widget_(new OperatorsList(parent)) {
        widget_->setObjectName(toQt(list.objectName()));
        widget_->setItemDelegate(new CurrentRowFrame(widget_));
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
        // Where the operator was reading, before the rows change under him.
        const QScrollBar* bar = widget_->verticalScrollBar();
        const bool atEnd = bar->value() == bar->maximum();
        const int top = widget_->indexAt(QPoint(0, 0)).row();
        const auto dropped = static_cast<int>(list_.removedFromTop() - removedFromTop_);
        if (rebuild) rebuildRows();
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
        if (!rebuild) return;
        if (list_.followsEnd() && atEnd) {
            widget_->scrollToBottom();
        } else if (top > 0 && widget_->count() > 0) {
            // The same lines stay in view, however many left the top meanwhile.
            const int row = std::clamp(top - dropped, 0, widget_->count() - 1);
            widget_->scrollToItem(widget_->item(row), QAbstractItemView::PositionAtTop);
        } else {
            widget_->scrollToTop();
        }
    }

    // Brings the widget's rows to the control's. A log that only lost rows at its top and
    // gained rows at its end (the event list, at every event) drops and adds just those, so
    // a refresh costs the new lines, not the whole list; any other change refills it.
    void rebuildRows() {
        int keep = 0;
        if (rewrites_ == list_.rewrites()) {
            const auto dropped = static_cast<qsizetype>(list_.removedFromTop() - removedFromTop_);
            keep = static_cast<int>(std::max<qsizetype>(0, widget_->count() - dropped));
        }
        const int count = list_.count();
        QStringList rows;
        rows.reserve(count - keep);
        for (int row = keep; row < count; ++row) rows.append(toQt(list_.text(row)));
        widget_->setUpdatesEnabled(false);
        if (keep == 0) {
            widget_->clear();
        } else {
            widget_->model()->removeRows(0, widget_->count() - keep);
        }
        widget_->addItems(rows);
        widget_->setUpdatesEnabled(true);
        revision_ = list_.revision();
        removedFromTop_ = list_.removedFromTop();
        rewrites_ = list_.rewrites();
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
    std::uint64_t removedFromTop_ = 0;  // the control's count when the rows were last built
    std::uint64_t rewrites_ = ~std::uint64_t{0};  // likewise: none yet
};

}  // namespace

std::unique_ptr<ControlBinding> bindListBox(ListBox& list, QWidget* parent, ViewState& view) {
    return std::make_unique<ListBinding>(list, parent, view);
}

}  // namespace plx::qtp
