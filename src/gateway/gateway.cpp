#include "gateway/gateway.h"

#include "console/f_add_product.h"
#include "console/f_main.h"
#include "display/f_test.h"
#include "eventlog/f_events.h"
#include "hostlink/f_as400.h"
#include "tools/f_help.h"
#include "tools/f_status.h"

namespace plx {

template <class Unit>
Unit& WindowSlot<Unit>::get() {
    if (!unit_) {
        unit_ = std::make_unique<Unit>(gateway_);
        Unit& unit = *unit_;
        gateway_.platform().attachView(unit.form);
        if (destroyOnClose_) unit.form.onClosed = [this] { release(); };
        // Set before the load handler runs, which may touch this window again.
        if constexpr (requires { unit.Form_Load(); }) unit.Form_Load();
    }
    return *unit_;
}

template <class Unit>
void WindowSlot<Unit>::release() {
    if (!unit_) return;
    gateway_.platform().detachView(unit_->form);
    gateway_.bury(std::shared_ptr<void>(std::move(unit_)));
}

template class WindowSlot<F_MAIN>;
template class WindowSlot<F_ADD_PRODUCT>;
template class WindowSlot<F_EVENTS>;
template class WindowSlot<F_AS400>;
template class WindowSlot<F_TEST>;
template class WindowSlot<F_STATUS>;
template class WindowSlot<F_HELP>;

Gateway::Gateway(Platform& platform)
    : platform_(platform),
      main_(*this, false),
      addProduct_(*this, false),
      events_(*this, false),
      as400_(*this, false),
      test_(*this, true),
      status_(*this, true),
      help_(*this, true) {
    platform_.onEndRequest = [this] { shutDown(); };
}

Gateway::~Gateway() {
    platform_.onEndRequest = nullptr;
    closing_ = true;
    help_.release();
    status_.release();
    test_.release();
    addProduct_.release();
    main_.release();
    as400_.release();
    events_.release();
    graveyard_.clear();
}

void Gateway::start() {
    // The load handler runs the whole start-up; then the main window is shown.
    main_.get().form.show();
}

void Gateway::shutDown() {
    main().form.requestClose();
}

F_MAIN& Gateway::main() {
    return main_.get();
}
F_ADD_PRODUCT& Gateway::addProduct() {
    return addProduct_.get();
}
F_EVENTS& Gateway::events() {
    return events_.get();
}
F_AS400& Gateway::as400() {
    return as400_.get();
}
F_TEST& Gateway::test() {
    return test_.get();
}
F_STATUS& Gateway::status() {
    return status_.get();
}
F_HELP& Gateway::help() {
    return help_.get();
}

void Gateway::pump() {
    ++nesting_;
    platform_.processPendingEvents();
    --nesting_;
    if (nesting_ == 0 && !graveyard_.empty()) scheduleBurial();
}

void Gateway::runModal(Form& form, const Form& owner) {
    ++nesting_;
    platform_.runModal(form, owner);
    --nesting_;
    if (nesting_ == 0 && !graveyard_.empty()) scheduleBurial();
}

void Gateway::bury(std::shared_ptr<void> unit) {
    if (closing_) return;  // the process is ending: destroyed here and now
    graveyard_.push_back(std::move(unit));
    scheduleBurial();
}

void Gateway::scheduleBurial() {
    if (burialScheduled_) return;
    burialScheduled_ = true;
    platform_.post([this] {
        burialScheduled_ = false;
        // Inside a pump a released window's handler may still be on the stack; the
        // pump reschedules the burial when it returns.
        if (nesting_ == 0) graveyard_.clear();
    });
}

}  // namespace plx
