#include "platform/qt/form_view.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <map>

#include "platform/controls/form.h"
#include "platform/controls/frame.h"
#include "platform/qt/headless.h"

namespace plx::qtp {
namespace {

// Refresh period of lists and multi-line texts: a shown list relayouts and repaints in
// 1.5 to 5 ms, so following every line of a 1001-terminal broadcast would take seconds;
// 40 ms still reads as immediate to the operator.
constexpr int kRefreshMs = 40;
// How often a refresh that waits for its moment looks again.
constexpr int kRefreshRetryMs = 1;

// The windows' design measures (twips) were made for an 8-point dialog font: at that size
// the captions fit the controls drawn for them.
constexpr qreal kDesignFontPoints = 8.0;

}  // namespace

FormView::FormView(Form& form) : form_(form) {
    setObjectName(toQt(form.objectName()));
    refresh_.setSingleShot(true);
    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &FormView::refreshDue);
    QFont designFont = font();
    designFont.setPointSizeF(kDesignFontPoints);
    setFont(designFont);
    // The client area has its size before the controls are placed in it.
    resize(toPixels(form.clientWidth()), toPixels(form.clientHeight()));

    // Frames first: the controls placed in a frame are its widget's children.
    std::map<const Control*, QWidget*> frames;
    for (const bool framePass : {true, false}) {
        for (Control* control : form.controls()) {
            if ((control->kind() == ControlKind::Frame) != framePass) continue;
            const auto frame = frames.find(control->container());
            QWidget* const parent = frame == frames.end() ? this : frame->second;
            auto binding = makeBinding(*control, parent, state_);
            if (!binding) continue;
            if (framePass) frames[control] = binding->widget();
            bindings_.push_back(std::move(binding));
        }
    }
    for (const auto& binding : bindings_) {
        ControlBinding* const bound = binding.get();
        bound->control().setObserver([this, bound] { controlChanged(*bound); });
        bound->sync();
    }
    form.setObserver([this] { syncForm(); });
    syncForm();
}

FormView::~FormView() {
    detach();
}

void FormView::detach() {
    if (!state_.attached) return;
    state_.attached = false;
    refresh_.stop();
    waiting_.clear();
    for (const auto& binding : bindings_) binding->control().setObserver(nullptr);
    form_.setObserver(nullptr);
    hide();
    leaveModalLoop();
}

void FormView::controlChanged(ControlBinding& binding) {
    // Runs inside the control's setter: nothing done here may call back into the logic.
    const bool wasSyncing = state_.syncing;
    state_.syncing = true;
    if (binding.deferred()) {
        binding.syncPlacement();
        if (!binding.dirty) {
            binding.dirty = true;
            waiting_.push_back(&binding);
            // A hidden window catches up when it is shown (syncForm flushes before show):
            // rebuilding the unseen event list would cost a broadcast most of its time.
            if (!refresh_.isActive() && isVisible()) refresh_.start();
        }
    } else {
        binding.sync();
    }
    state_.syncing = wasSyncing;
}

void FormView::refreshDue() {
    // A paint takes milliseconds on a real screen, and host data that comes meanwhile
    // waits for it. Never in the middle of a dispatch, then; best right after one, when the
    // next host data is furthest away; without host data, one refresh later.
    if (!dueSince_.isValid()) dueSince_.start();
    const bool moment = !justDispatched || justDispatched() || dueSince_.hasExpired(kRefreshMs);
    if ((dispatching && dispatching()) || !moment) {
        refresh_.start(kRefreshRetryMs);
        return;
    }
    flush();
    // Painted now, while nothing waits for the window: the paint Qt would post could
    // otherwise run in the pump of the next dispatch, between two datagrams.
    QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
}

void FormView::flush() {
    refresh_.stop();
    refresh_.setInterval(kRefreshMs);
    dueSince_.invalidate();
    const auto waiting = std::move(waiting_);
    waiting_.clear();
    for (ControlBinding* binding : waiting) {
        if (state_.attached && binding->dirty) binding->sync();
    }
}

void FormView::syncForm() {
    const bool wasSyncing = state_.syncing;
    state_.syncing = true;
    const QString title = toQt(form_.caption());
    if (windowTitle() != title) setWindowTitle(title);
    const QSize minimum(toPixels(form_.minimumClientWidth()),
                        toPixels(form_.minimumClientHeight()));
    if (minimumSize() != minimum) setMinimumSize(minimum);
    const QSize size(toPixels(form_.clientWidth()), toPixels(form_.clientHeight()));
    if (this->size() != size) resize(size);
    state_.syncing = wasSyncing;

    if (form_.visible() && (!isVisible() || form_.showRequests() != showRequestsServed_)) {
        showRequestsServed_ = form_.showRequests();
        if (!isVisible()) {
            flush();
            if (!shownOnce_ && placeOnFirstShow) placeOnFirstShow(*this);
            shownOnce_ = true;
            show();
        }
        // A headless gateway has no window stack to raise in.
        if (!isHeadless()) {
            raise();
            activateWindow();
        }
        syncFocus();
    } else if (form_.visible()) {
        syncFocus();
    } else {
        if (isVisible()) hide();
        leaveModalLoop();
    }
}

void FormView::syncFocus() {
    const Control* focused = form_.focused();
    for (const auto& binding : bindings_) {
        if (&binding->control() != focused) continue;
        QWidget* const widget = binding->widget();
        if (!widget->hasFocus()) widget->setFocus(Qt::OtherFocusReason);
        return;
    }
}

void FormView::leaveModalLoop() {
    if (modalLoop_ != nullptr) modalLoop_->quit();
}

void FormView::closeEvent(QCloseEvent* event) {
    // The window's logic decides: hide, or close and release the window, or end the process.
    event->ignore();
    if (state_.attached) form_.requestClose();
}

void FormView::keyPressEvent(QKeyEvent* event) {
    // Keys no widget took: Enter and Esc press the window's default and cancel buttons, once
    // per press however long the key is held.
    if (!state_.attached) return QWidget::keyPressEvent(event);
    const bool repeated = event->isAutoRepeat();
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!repeated) form_.pressEnter();
            break;
        case Qt::Key_Escape:
            if (!repeated) form_.pressEscape();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void FormView::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window manager's frame becomes known once it has framed the window.
    if (state_.attached && !state_.syncing) reportSize();
}

void FormView::reportSize() {
    const QSize frame = frameGeometry().size() - size();
    if (!frame.isEmpty())
        form_.setFrame(frame.width() * kTwipsPerPixel, frame.height() * kTwipsPerPixel);
    form_.resize(width() * kTwipsPerPixel + form_.frameWidth(),
                 height() * kTwipsPerPixel + form_.frameHeight());
}

void FormView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!state_.attached) return;
    // The operator resized the window: its layout handler runs when the size changed.
    if (!state_.syncing) reportSize();
    // Docked pictures follow the client area itself.
    const bool wasSyncing = state_.syncing;
    state_.syncing = true;
    for (const auto& binding : bindings_) {
        if (binding->deferred()) {
            binding->syncPlacement();
        } else {
            binding->sync();
        }
    }
    state_.syncing = wasSyncing;
}

}  // namespace plx::qtp
