#include "gateway/gateway.h"

#include "console/config_files.h"
#include "console/f_main.h"
#include "gateway/gateway_core.h"

namespace plx {

Gateway::Gateway(Platform& platform)
    : platform_(platform), core_(std::make_unique<GatewayCore>(platform)) {
    platform_.onEndRequest = [this] { shutDown(); };
    core_->nesting.onUnwound = [this] {
        if (!releasedWindows_.empty()) scheduleDestruction();
    };
    core_->log.listing = [this] {
        const F_MAIN& main = window<F_MAIN>();
        return EventLog::Listing{main.INP_WEBPAGE.text(), entriesAsLines(main.LST_PRODUIT)};
    };
}

Gateway::~Gateway() {
    platform_.onEndRequest = nullptr;
    closing_ = true;
    windows_.releaseAll();
    releasedWindows_.clear();
}

SharedState& Gateway::state() {
    return core_->state;
}

EventLog& Gateway::eventLog() {
    return core_->log;
}

DisplayRoad& Gateway::display() {
    return core_->display;
}

HostStream& Gateway::hostStream() {
    return core_->host;
}

void Gateway::start() {
    // The load handler runs the whole start-up; then the main window is shown.
    window<F_MAIN>().form.show();
}

void Gateway::shutDown() {
    window<F_MAIN>().form.requestClose();
}

void Gateway::pump() {
    core_->nesting.pump();
}

bool Gateway::dispatching() const {
    return core_->nesting.dispatching();
}

void Gateway::runModal(Form& form, const Form& owner) {
    core_->nesting.runModal(form, owner);
}

void Gateway::destroyWhenUnwound(std::shared_ptr<void> unit) {
    if (closing_) return;  // the process is ending: destroyed here and now
    releasedWindows_.push_back(std::move(unit));
    scheduleDestruction();
}

void Gateway::scheduleDestruction() {
    if (destructionScheduled_) return;
    destructionScheduled_ = true;
    platform_.post([this] {
        destructionScheduled_ = false;
        // Inside a pump a released window's handler may still be on the stack; the pump
        // reschedules the destruction when it returns.
        if (!core_->nesting.nested()) releasedWindows_.clear();
    });
}

}  // namespace plx
