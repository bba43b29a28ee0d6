#pragma once
// The real executable with its web console on, in a folder of its own, and raw HTTP clients
// for it: on loopback, in clear or over TLS (its certificate trusted), from the address given.

#include <QSslSocket>
#include <memory>

#include "headless_program.h"
#include "self_signed_certificate.h"
#include "support/qt_integration.h"

namespace plx::qtp::testing {

struct Reply {
    int status = 0;
    QByteArray head, body;
};

class ConsoleRig {
  public:
    // `listen` as WebConsole.cfg takes it; with `tls`, a certificate for 127.0.0.1 and
    // 198.18.0.1. A host that is not there: the link stays OFFLINE.
    explicit ConsoleRig(const QByteArray& listen = "127.0.0.1", bool tls = false)
        : port(freePort()), tls_(tls) {
        application();
        write("WebConsole.cfg", "listen " + listen + ":" + QByteArray::number(port) + "\r\n");
        write("SERVER_AS400.cfg", "127.0.0.1\r\n" + QByteArray::number(freePort()) +
                                      "\r\nWEBSECRET\r\nQUSER\r\n 0\r\n");
        write("Products.cfg", "0001,,127.0.10.241,Line 1\r\n");
        if (tls) {
            const auto made = sim::makeSelfSignedCertificate("IP:127.0.0.1,IP:198.18.0.1");
            if (made) {
                write("WebConsole.pem", made->certificate);
                write("WebConsole.key", made->key);
                trusted_ = QSslCertificate::fromData(made->certificate);
            }
        }
        gateway =
            std::make_unique<sim::HeadlessProgram>(QStringLiteral(PLX_EXECUTABLE), folder.path());
        if (gateway->started() &&
            waitFor([this] { return !file("WebConsole.token").isEmpty(); }, 15000))
            token = file("WebConsole.token").trimmed();
    }
    QByteArray file(const char* name) const { return folder.read(QString::fromLatin1(name)); }
    void write(const char* name, const QByteArray& bytes) const {
        folder.write(QString::fromLatin1(name), bytes);
    }
    QByteArray log() const { return folder.log(); }
    QByteArray host() const { return "Host: 127.0.0.1:" + QByteArray::number(port) + "\r\n"; }

    // A connection, once connected (encrypted over TLS); from `from` when given.
    std::unique_ptr<QSslSocket> connect(const QString& from = {},
                                        const QString& to = QStringLiteral("127.0.0.1")) const {
        auto socket = std::make_unique<QSslSocket>();
        if (!from.isEmpty()) socket->bind(QHostAddress(from));
        QSslConfiguration trust = socket->sslConfiguration();
        trust.setCaCertificates(trusted_);
        socket->setSslConfiguration(trust);
        tls_ ? socket->connectToHostEncrypted(to, port) : socket->connectToHost(to, port);
        tls_ ? socket->waitForEncrypted(5000) : socket->waitForConnected(5000);
        return socket;
    }
    // What came back on a connection of its own: every byte until it closed, or until
    // nothing came for `quietMs`.
    QByteArray exchange(const QByteArray& bytes, int quietMs = 3000) const {
        const auto socket = connect();
        socket->write(bytes);
        QByteArray got;
        while (socket->state() == QAbstractSocket::ConnectedState &&
               socket->waitForReadyRead(quietMs))
            got += socket->readAll();
        return got + socket->readAll();
    }
    // One request with the usual head, answered whole.
    Reply ask(const QByteArray& method, const QByteArray& path, const QByteArray& body = {},
              const QByteArray& headers = {}) const {
        const QByteArray got =
            exchange(method + " " + path + " HTTP/1.1\r\n" + host() +
                     "Connection: close\r\nContent-Length: " + QByteArray::number(body.size()) +
                     "\r\n" + headers + "\r\n" + body);
        const qsizetype end = got.indexOf("\r\n\r\n");
        return {got.mid(9, 3).toInt(), got.left(end), end < 0 ? QByteArray() : got.mid(end + 4)};
    }
    QByteArray withToken() const { return "X-Console-Token: " + token + "\r\n"; }

    GatewayFolder folder;
    quint16 port;
    std::unique_ptr<sim::HeadlessProgram> gateway;
    QByteArray token;

  private:
    bool tls_;
    QList<QSslCertificate> trusted_;
};

}  // namespace plx::qtp::testing
