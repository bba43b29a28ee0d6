#include "wall_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "led_panel.h"

namespace plx::wall {
namespace {

constexpr int kSpacing = 10;          // pixels between panels
constexpr int kOpeningColumns = 4;    // a dozen terminals open as three rows of four
constexpr int kOpeningRowsShown = 4;  // more rows scroll
constexpr int kFlashCheckMs = 40;     // well under a flash half-period of 250 ms

}  // namespace

WallWindow::WallWindow(const WallModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setWindowTitle(QStringLiteral("Terminal wall"));
    setStyleSheet(QStringLiteral(
        "QWidget#wall { background: #0f1114; }"
        "QScrollArea, QScrollArea > QWidget > QWidget { background: #0f1114; border: none; }"
        "QLabel#status { color: #c3c9d1; background: #16191d; border-top: 1px solid #2a2f36;"
        " padding: 6px 12px; font-size: 13px; }"
        "QScrollBar:vertical { background: #0f1114; width: 12px; margin: 0; }"
        "QScrollBar::handle:vertical { background: #3a3f47; border-radius: 4px; min-height: 40px;"
        " margin: 2px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    setObjectName(QStringLiteral("wall"));

    grid_ = new QWidget;
    grid_->installEventFilter(this);
    gridLayout_ = new QGridLayout(grid_);
    gridLayout_->setSpacing(kSpacing);
    gridLayout_->setContentsMargins(kSpacing, kSpacing, kSpacing, kSpacing);
    for (std::size_t row = 0; row < model_.terminals().size(); ++row) {
        panels_.push_back(new LedPanel(model_, row, phase_, grid_));
    }

    auto* scroll = new QScrollArea;
    scroll->setWidget(grid_);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("status"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll, 1);
    layout->addWidget(status_);

    const int shownColumns = std::clamp(static_cast<int>(panels_.size()), 1, kOpeningColumns);
    const int rows = static_cast<int>((panels_.size() + shownColumns - 1) / shownColumns);
    const int shownRows = std::clamp(rows, 1, kOpeningRowsShown);
    const int scrollBar = rows > shownRows ? scroll->verticalScrollBar()->sizeHint().width() : 0;
    resize(shownColumns * (LedPanel::kWidth + kSpacing) + kSpacing + scrollBar,
           shownRows * (LedPanel::kHeight + kSpacing) + kSpacing + status_->sizeHint().height());

    clock_.start();
    flashTimer_.setInterval(kFlashCheckMs);
    connect(&flashTimer_, &QTimer::timeout, this, &WallWindow::tick);
    flashTimer_.start();
    refresh();
}

void WallWindow::refresh() {
    for (LedPanel* panel : panels_) panel->update();
    QString text =
        QStringLiteral("%1 terminals, %2 listening on UDP 1024     Malformed datagrams: %3")
            .arg(model_.terminals().size())
            .arg(model_.listening())
            .arg(model_.malformed());
    if (!model_.lastMalformed().empty()) {
        text += QStringLiteral("  (last %1)").arg(QString::fromStdString(model_.lastMalformed()));
    }
    status_->setText(text);
}

bool WallWindow::eventFilter(QObject* watched, QEvent* event) {
    // The grid is as wide as the scroll area's viewport: what is left beside the scroll bar.
    if (watched == grid_ && event->type() == QEvent::Resize) arrange();
    return QWidget::eventFilter(watched, event);
}

void WallWindow::arrange() {
    const int columns = std::max(1, (grid_->width() - kSpacing) / (LedPanel::kWidth + kSpacing));
    if (columns == columns_) return;
    const auto rowsOf = [this](int perRow) {
        return static_cast<int>((panels_.size() + perRow - 1) / perRow);
    };
    if (columns_ > 0) {
        gridLayout_->setColumnStretch(columns_, 0);
        gridLayout_->setRowStretch(rowsOf(columns_), 0);
    }
    columns_ = columns;
    for (LedPanel* panel : panels_) gridLayout_->removeWidget(panel);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        gridLayout_->addWidget(panels_[i], static_cast<int>(i) / columns,
                               static_cast<int>(i) % columns);
    }
    // Panels keep their size: spare room gathers right and below, not between panels.
    gridLayout_->setColumnStretch(columns, 1);
    gridLayout_->setRowStretch(rowsOf(columns), 1);
}

void WallWindow::tick() {
    const FlashPhase now = flashPhaseAt(clock_.elapsed());
    if (now == phase_) return;
    phase_ = now;
    for (LedPanel* panel : panels_) {
        if (panel->flashing()) panel->update();
    }
}

}  // namespace plx::wall
