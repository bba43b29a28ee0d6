// The web console of the real executable, over real HTTP on loopback: what it reads, a
// command with and without the token, bad requests and the limits of the server, the live
// stream's origin check.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebSocket>
#include <memory>
#include <vector>

#include "headless_program.h"
#include "support/qt_integration.h"

namespace {

using plx::qtp::testing::application;
using plx::qtp::testing::waitFor;

struct Reply {
    int status = 0;
    QByteArray head, body;
};

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

class WebConsoleGateway : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        application();
        folder = new QTemporaryDir;
        port = freePort();
        const auto write = [](const char* name, const QByteArray& bytes) {
            QFile file(folder->filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write("WebConsole.cfg", "listen 127.0.0.1:" + QByteArray::number(port) + "\r\n");
        // A host that is not there: the link stays OFFLINE.
        write("SERVER_AS400.cfg", "127.0.0.1\r\n" + QByteArray::number(freePort()) +
                                      "\r\nWEBSECRET\r\nQUSER\r\n 0\r\n");
        write("Products.cfg", "0001,,127.0.10.241,Line 1\r\n");
        gateway = new plx::sim::HeadlessProgram(QStringLiteral(PLX_EXECUTABLE), folder->path());
        ASSERT_TRUE(gateway->started());
        ASSERT_TRUE(waitFor([] { return QFile::exists(folder->filePath("WebConsole.token")); }));
        QFile tokenFile(folder->filePath("WebConsole.token"));
        ASSERT_TRUE(tokenFile.open(QIODevice::ReadOnly));
        token = tokenFile.readAll().trimmed();
    }
    static void TearDownTestSuite() {
        delete gateway;
        delete folder;
    }

    // One request on a connection of its own; the reply once whole, or what came before the
    // connection closed.
    static Reply ask(const QByteArray& method, const QByteArray& path, const QByteArray& body = {},
                     const QByteArray& headers = {}) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        EXPECT_TRUE(socket.waitForConnected(5000));
        socket.write(method + " " + path +
                     " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
                     "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + headers +
                     "\r\n" + body);
        QByteArray got;
        Reply reply;
        while (socket.waitForReadyRead(5000)) {
            got += socket.readAll();
            const qsizetype end = got.indexOf("\r\n\r\n");
            if (end < 0) continue;
            reply.head = got.left(end);
            reply.body = got.mid(end + 4);
            reply.status = got.mid(9, 3).toInt();
            const qsizetype at = reply.head.toLower().indexOf("content-length: ");
            if (at >= 0 && reply.body.size() >= reply.head.mid(at + 16).split('\r')[0].toInt())
                break;
        }
        EXPECT_FALSE(got.contains("WEBSECRET")) << path.constData();
        return reply;
    }
    static QByteArray withToken() { return "X-Console-Token: " + token + "\r\n"; }

    static inline QTemporaryDir* folder = nullptr;
    static inline plx::sim::HeadlessProgram* gateway = nullptr;
    static inline quint16 port = 0;
    static inline QByteArray token;
};

TEST_F(WebConsoleGateway, ReadsCommandsAndBadRequests) {
    struct Case {
        QByteArray method, path, body, headers;
        int status;
        QByteArray contains;
    };
    const Case cases[] = {
        {"GET", "/api/status", {}, {}, 200, "\"link\":\"OFFLINE\""},
        {"GET", "/metrics", {}, {}, 200, "plyxen400_link_state 0\n"},
        {"GET", "/healthz", {}, {}, 503, "{\"link\":\"OFFLINE\"}"},
        {"GET", "/", {}, {}, 200, "<script src=\"app.js\" defer></script>"},
        {"POST", "/api/synchronize", "{}", {}, 401, "X-Console-Token"},
        {"POST", "/api/synchronize", "{}", withToken(), 200, "{\"ok\":true}"},
        {"GET", "/nothing", {}, {}, 404, "No such page"},
        {"DELETE", "/api/status", {}, withToken(), 405, "Method not allowed"},
        {"POST", "/api/test", "{\"test\":", withToken(), 400, "Malformed JSON"},
    };
    for (const Case& c : cases) {
        const Reply reply = ask(c.method, c.path, c.body, c.headers);
        EXPECT_EQ(reply.status, c.status) << c.path.constData() << reply.body.constData();
        EXPECT_TRUE(reply.body.contains(c.contains))
            << c.path.constData() << reply.body.constData();
        EXPECT_TRUE(reply.head.contains("Content-Security-Policy: default-src 'none'"));
    }
    EXPECT_TRUE(waitFor([] {
        return plx::qtp::testing::dailyLogs(folder->path())
            .contains("Synchronize all products from the web console (127.0.0.1)");
    }));
    // The server's own limits: a body too large is refused before it is read; past 64 open
    // connections the next is told so, until one closes.
    EXPECT_EQ(ask("POST", "/api/test", {}, "Content-Length: 1048576\r\n").status, 413);
    std::vector<std::unique_ptr<QTcpSocket>> held;
    while (held.size() < 64) {
        held.push_back(std::make_unique<QTcpSocket>());
        held.back()->connectToHost(QHostAddress::LocalHost, port);
        ASSERT_TRUE(held.back()->waitForConnected(5000));
    }
    EXPECT_EQ(ask("GET", "/api/status").status, 503);
    held.pop_back();
    EXPECT_TRUE(waitFor([] { return ask("GET", "/api/status").status == 200; }));
    EXPECT_TRUE(gateway->running());
}

TEST_F(WebConsoleGateway, LiveStreamOnlyForThePagesOwnOrigin) {
    const auto open = [](const QString& origin) {
        auto stream = std::make_unique<QWebSocket>(origin);
        stream->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(port)));
        return stream;
    };
    const auto page = open(QStringLiteral("http://127.0.0.1:%1").arg(port));
    QString notice;
    QObject::connect(page.get(), &QWebSocket::textMessageReceived,
                     [&notice](const QString& text) { notice = text; });
    EXPECT_TRUE(waitFor([&] { return !notice.isEmpty(); }));
    EXPECT_TRUE(notice.startsWith(QStringLiteral("{\"status\":"))) << notice.toStdString();
    const auto foreign = open(QStringLiteral("http://elsewhere.example"));
    EXPECT_TRUE(waitFor(
        [&] { return foreign->closeCode() == QWebSocketProtocol::CloseCodePolicyViolated; }));
}

}  // namespace
