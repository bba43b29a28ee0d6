#include "session_text.h"

#include <QTime>

namespace plx::sim {

QString describe(const HostSession& session) {
    QString text;
    switch (session.state()) {
        case HostSession::State::Listening:
            text = QStringLiteral("Waiting for the gateway");
            break;
        case HostSession::State::SigningOn:
            text = QStringLiteral("Signing on");
            break;
        case HostSession::State::Refused:
            text = QStringLiteral("Sign-on refused");
            break;
        case HostSession::State::Running:
            text = QStringLiteral("Running, step %1").arg(session.step());
            break;
    }
    return session.silent() ? text + QStringLiteral(", silent") : text;
}

QString logLine(const QString& text) {
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) + text;
}

}  // namespace plx::sim
