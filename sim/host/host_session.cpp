#include "host_session.h"

#include <QTime>

#include "host_screens.h"

namespace plx::sim {

SignOn parseSignOn(const QByteArray& typed) {
    QByteArray text = typed;
    if (text.endsWith('\r')) text.chop(1);
    const qsizetype tab = text.indexOf('\t');
    if (tab < 0) return {text, {}};
    return {text.left(tab), text.mid(tab + 1)};
}

HostSession::HostSession(Settings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)) {
    connect(&host_, &ScriptedHost::connectionAccepted, this, &HostSession::connectionAccepted);
    connect(&host_, &ScriptedHost::terminalTypeReceived, this, &HostSession::terminalTypeReceived);
    connect(&host_, &ScriptedHost::signOnReceived, this, &HostSession::signOnReceived);
    connect(&host_, &ScriptedHost::connectionClosed, this, &HostSession::connectionClosed);
    connect(&refresh_, &QTimer::timeout, this, &HostSession::paint);
    refresh_.start(settings_.intervalMs);
}

bool HostSession::serveTls(const QByteArray& certificatePem, const QByteArray& keyPem) {
    tls_ = host_.serveTls(certificatePem, keyPem);
    return tls_;
}

bool HostSession::listen(const QHostAddress& address, quint16 port) {
    if (!host_.listen(address, port)) return false;
    emit note(QStringLiteral("Listening on %1:%2%3")
                  .arg(address.toString())
                  .arg(host_.port())
                  .arg(tls_ ? QStringLiteral(" (TLS)") : QString()));
    return true;
}

void HostSession::dropLine() {
    if (!host_.connected()) return;
    emit note(QStringLiteral("Dropping the line"));
    host_.closeConnection();
}

void HostSession::goSilent() {
    if (silent_) return;
    silent_ = true;
    emit note(
        QStringLiteral("Silent: no more screens (the gateway drops a line silent for 180 s)"));
    emit stateChanged();
}

void HostSession::resume() {
    if (!silent_) return;
    silent_ = false;
    emit note(QStringLiteral("Resumed"));
    emit stateChanged();
}

void HostSession::connectionAccepted() {
    emit note(QStringLiteral("Gateway connected from %1 (connection %2)")
                  .arg(host_.peer())
                  .arg(host_.connectionCount()));
    setState(State::SigningOn);
}

void HostSession::terminalTypeReceived(const QByteArray& terminalType) {
    emit note(QStringLiteral("Terminal type %1").arg(QString::fromLatin1(terminalType)));
    write(signOnScreen());
}

void HostSession::signOnReceived(const QByteArray& typed) {
    const SignOn signOn = parseSignOn(typed);
    const QString user = QString::fromLatin1(signOn.user);
    if (signOn.user != settings_.user || signOn.password != settings_.password) {
        emit note(QStringLiteral("Sign-on refused for user \"%1\"").arg(user));
        write(signOnRefusedScreen());
        setState(State::Refused);
        return;
    }
    emit note(QStringLiteral("User %1 signed on from %2").arg(user, host_.peer()));
    setState(State::Running);
    paint();  // the application shows at once, as after Enter on a real sign-on screen
}

void HostSession::connectionClosed() {
    emit note(QStringLiteral("Line closed"));
    setState(State::Listening);
}

void HostSession::paint() {
    if (state_ != State::Running || silent_ || !host_.connected()) return;
    ++step_;
    const QTime now = QTime::currentTime();
    const std::vector<HostFrame> frames = framesForStep(settings_.script, step_, now);
    write(applicationScreen(frames, step_, now), frames);
}

void HostSession::write(const QByteArray& screen, const std::vector<HostFrame>& frames) {
    // One write per screen: the gateway only finds frames that arrive within one read.
    host_.write(screen);
    emit painted(screen, frames);
}

void HostSession::setState(State state) {
    if (state_ == state) return;
    state_ = state;
    emit stateChanged();
}

}  // namespace plx::sim
