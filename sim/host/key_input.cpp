#include "key_input.h"

#include <unistd.h>

#include <QSocketNotifier>

#include "host_session.h"

namespace plx::sim {

KeyInput::KeyInput(HostSession& session)
    : session_(session), keys_(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this)) {
    connect(keys_, &QSocketNotifier::activated, this, &KeyInput::readKeys);
}

void KeyInput::readKeys() {
    char buffer[256];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
        keys_->setEnabled(false);  // end of input: the simulator runs on without keys
        return;
    }
    for (ssize_t i = 0; i < count; ++i) {
        switch (buffer[i]) {
            case 'd':
                session_.dropLine();
                break;
            case 's':
                session_.goSilent();
                break;
            case 'r':
                session_.resume();
                break;
            default:
                break;  // Enter and anything else
        }
    }
}

}  // namespace plx::sim
