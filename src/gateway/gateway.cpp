#include "gateway/gateway.h"

#include "console/config_files.h"

namespace plx {

Gateway::Gateway(Platform& platform) : platform_(platform) {
    platform_.onEndRequest = [this] { shutDown(); };
    eventLog_.listing = [this] {
        const F_MAIN& main = window<F_MAIN>();
        return EventLog::Listing{main.INP_WEBPAGE.text(), entriesAsLines(main.LST_PRODUIT)};
    };
}

Gateway::~Gateway() {
    platform_.onEndRequest = nullptr;
    closing_ = true;
    windows_.releaseAll();
    graveyard_.clear();
}

void Gateway::start() {
    // The load handler runs the whole start-up; then the main window is shown.
    window<F_MAIN>().form.show();
}

void Gateway::shutDown() {
    window<F_MAIN>().form.requestClose();
}

template <class Wait>
void Gateway::nest(const Wait& wait) {
    ++nesting_;
    ++pumping_;
    wait();
    --pumping_;
    --nesting_;
    if (nesting_ == 0 && !graveyard_.empty()) scheduleBurial();
}

void Gateway::pump() {
    nest([this] { platform_.processPendingEvents(); });
}

void Gateway::awaitWritable(UdpSocketPort& socket, int timeoutMs) {
    nest([&socket, timeoutMs] { socket.awaitWritable(timeoutMs); });
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
