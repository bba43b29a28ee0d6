#pragma once
// The simulated AS/400 as the gateway meets it: it negotiates the terminal type, paints
// the sign-on screen, checks the user and password typed into it, and then repaints the
// application screen at a steady pace, each screen carrying the frames of one script step.
// The operator can drop the line or make the host go silent, to watch the gateway recover.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

#include "host_script.h"
#include "scripted_host.h"

namespace plx::sim {

// What was typed on the sign-on screen: user, TAB, password, Enter.
struct SignOn {
    QByteArray user;
    QByteArray password;
};
SignOn parseSignOn(const QByteArray& typed);

class HostSession : public QObject {
    Q_OBJECT
  public:
    struct Settings {
        QByteArray user = "DEMO";
        QByteArray password = "PLX400";
        int intervalMs = 1000;  // between two application screens
        ScriptSettings script;
    };
    enum class State { Listening, SigningOn, Refused, Running };

    explicit HostSession(Settings settings, QObject* parent = nullptr);
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Telnet over TLS with this certificate and key (PEM); false when they cannot be read.
    bool serveTls(const QByteArray& certificatePem, const QByteArray& keyPem);
    bool listen(const QHostAddress& address, quint16 port);
    const ScriptedHost& host() const { return host_; }
    const Settings& settings() const { return settings_; }
    State state() const { return state_; }
    bool silent() const { return silent_; }
    // The last script step painted; steps go on across connections, as a plant's counters.
    int step() const { return step_; }

    // Closes the connection from the host's side; the gateway connects again by itself.
    void dropLine();
    // Stops painting screens (the line stays open) until resume().
    void goSilent();
    void resume();

  signals:
    void stateChanged();
    // A screen went out carrying exactly these frames (none on the sign-on screens).
    void painted(const QByteArray& screen, const std::vector<plx::sim::HostFrame>& frames);
    // Something a watcher wants to know: connections, sign-on, the operator's actions.
    void note(const QString& text);

  private:
    void connectionAccepted();
    void terminalTypeReceived(const QByteArray& terminalType);
    void signOnReceived(const QByteArray& typed);
    void connectionClosed();
    void paint();
    void write(const QByteArray& screen, const std::vector<HostFrame>& frames = {});
    void setState(State state);

    const Settings settings_;
    ScriptedHost host_;
    QTimer refresh_;
    State state_ = State::Listening;
    bool silent_ = false;
    bool tls_ = false;
    int step_ = 0;
};

}  // namespace plx::sim
