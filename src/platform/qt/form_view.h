#pragma once
// The window of any form: one widget per control, built from the form's controls and kept
// in step with them both ways (see control_binding.h).

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/qt/control_binding.h"

class QEventLoop;

namespace plx {
class Form;
}

namespace plx::qtp {

class FormView : public QWidget {
  public:
    explicit FormView(Form& form);
    ~FormView() override;
    FormView(const FormView&) = delete;
    FormView& operator=(const FormView&) = delete;

    // Stops following the form for good: no widget action reaches a control any more and
    // the controls lose their observer. The widgets stay until the view is deleted.
    void detach();
    // Brings every widget that waits for the refresh up to date now.
    void flush();
    // While set, the loop is left when the form is hidden or the view detached.
    void setModalLoop(QEventLoop* loop) { modalLoop_ = loop; }
    // Run just before the window is first shown, to put it in its place; afterwards it stays
    // where the operator moves it, hidden and shown again.
    std::function<void(FormView&)> placeOnFirstShow;
    // Whether a dispatch is sending datagrams now, and whether one has just ended: set by
    // the platform, for the moment of the refresh (unset: whenever it falls due).
    std::function<bool()> dispatching, justDispatched;
    bool shownOnce() const { return shownOnce_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Tells the form its outer size: the client area and the window system's frame.
    void reportSize();
    void controlChanged(ControlBinding& binding);
    // The refresh timer: the waiting widgets catch up and are painted, at the next moment
    // that costs the terminals nothing.
    void refreshDue();
    void syncForm();
    void syncFocus();
    void leaveModalLoop();

    Form& form_;
    ViewState state_;
    std::vector<std::unique_ptr<ControlBinding>> bindings_;
    std::vector<ControlBinding*> waiting_;  // deferred bindings marked dirty
    // Lists and multi-line texts catch up at most this often however fast they change.
    QTimer refresh_;
    QElapsedTimer dueSince_;  // since the refresh fell due, while it waits for its moment
    QEventLoop* modalLoop_ = nullptr;
    std::uint64_t showRequestsServed_ = 0;
    bool shownOnce_ = false;
};

}  // namespace plx::qtp
