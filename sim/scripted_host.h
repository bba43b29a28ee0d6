#pragma once
// A scripted AS/400 telnet service on loopback: it negotiates the terminal type as the
// host does, records what the gateway answers and the sign-on it types, then writes the
// screen output it is given. One connection at a time, as the gateway keeps.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <deque>
#include <memory>

namespace plx::sim {

class ScriptedHost : public QObject {
    Q_OBJECT
  public:
    // Pause between two writes, so each arrives as its own read.
    static constexpr int kPieceGapMs = 30;

    explicit ScriptedHost(QObject* parent = nullptr);
    ~ScriptedHost() override;
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    // Serves telnet over TLS (as the host's telnets service) with this certificate and its
    // private key, both PEM; false when either cannot be read (or, when already listening,
    // the port cannot be taken again).
    bool serveTls(const QByteArray& certificatePem, const QByteArray& keyPem);
    // Listens on 127.0.0.1 at this port, or at one the system picks (0); false on failure.
    bool listen(quint16 port = 0);
    // Listens on this address instead, for a simulator that a user places.
    bool listen(const QHostAddress& address, quint16 port);
    // The address and port listened on (kept after refuse(), so listen(port()) takes it again).
    const QHostAddress& address() const { return address_; }
    quint16 port() const { return port_; }
    // Stops listening: further connects are refused; a connection already made stays.
    void refuse();

    // Writes screen output to the connected gateway (queued behind earlier writes).
    void write(const QByteArray& bytes);
    // Closes the connection from the host's side, once what was written has gone out.
    void closeConnection();
    // Sends back every byte the gateway sends, as it comes, beside its own negotiation: a
    // host that echoes what it receives (remote echo of the sign-on screen, a line looped
    // back) on every connection from now on.
    void echoReceived() { echoing_ = true; }

    bool connected() const;
    // The connection's socket, for a benchmark that writes to it as a plain program would
    // (clear telnet, nothing queued); -1 without a connection.
    qintptr socketDescriptor() const { return client_ ? client_->socketDescriptor() : -1; }
    // Bytes written but not yet handed to the system: queued writes and the socket's
    // buffer. A sender at a high rate waits while this is large, so nothing piles up.
    qint64 bytesToWrite() const;
    int connectionCount() const { return connections_; }
    // Where the current connection comes from: a pair's test tells its two gateways apart.
    QString peer() const { return client_ ? client_->peerAddress().toString() : QString(); }
    // Every byte received on the current connection, telnet answers included (with TLS,
    // decrypted: only a completed handshake makes a connection).
    const QByteArray& received() const { return received_; }
    // The terminal type from the last IAC SB TERMINAL-TYPE IS ... IAC SE.
    const QByteArray& terminalType() const { return terminalType_; }
    // The bytes typed on the last sign-on, up to and including the carriage return.
    const QByteArray& signOn() const { return signOn_; }

  signals:
    void connectionAccepted();
    void terminalTypeReceived(const QByteArray& terminalType);
    void signOnReceived(const QByteArray& signOn);
    void connectionClosed();

  private:
    void accept();
    void readGateway();
    void take(unsigned char byte);
    void writeNextPiece();

    // Where the reading of the gateway's telnet stream stands.
    enum class Reading { Data, Command, Option, Sub, SubCommand };

    std::unique_ptr<QTcpServer> server_;  // a QSslServer with TLS
    QPointer<QTcpSocket> client_;
    QHostAddress address_;
    quint16 port_ = 0;
    int connections_ = 0;

    std::deque<QByteArray> pieces_;
    bool pieceScheduled_ = false;
    bool closeWhenWritten_ = false;

    bool echoing_ = false;
    Reading reading_ = Reading::Data;
    unsigned char command_ = 0;
    QByteArray received_;
    QByteArray sub_;
    QByteArray typing_;
    QByteArray terminalType_;
    QByteArray signOn_;
};

}  // namespace plx::sim
