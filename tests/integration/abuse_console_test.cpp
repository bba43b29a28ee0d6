// The web console of the real executable, tried as a stranger, a slow client and a bad field
// would: on loopback, and with peers on a network where the test may make a namespace of its
// own (198.18.0.0/24 on its loopback, no default route). Grouped by what each case protects.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "integration/console_rig.h"

namespace {

using namespace plx::qtp::testing;

TEST(AbuseLogIntegrity, NoTextOfARequestBecomesALineOfItsOwn) {
    ConsoleRig rig;
    EXPECT_TRUE(rig.exchange("DELETE /api/terminals/1%0D%0A23:59:58%20GENERAL:Server%20%5B127.0.0.1"
                             "%5D,CLOSE%20SOFTWARE HTTP/1.1\r\n" +
                             rig.host() + "\r\n")
                    .startsWith("HTTP/1.1 400"));
    // Refused for want of a token, a path is written down with its bytes escaped.
    EXPECT_EQ(rig.ask("DELETE", "/api/terminals/1%C3%A9").status, 401);
    EXPECT_TRUE(waitFor([&] {
        return rig.log().contains("refused DELETE /api/terminals/1%195%%169% from 127.0.0.1\r\n");
    }));
    EXPECT_FALSE(rig.log().contains("\n23:59:58"));
    EXPECT_FALSE(rig.ask("GET", "/api/events").body.contains("CLOSE SOFTWARE"));
    EXPECT_EQ(rig.file("Products.cfg"), "0001,,127.0.10.241,Line 1\r\n");
}

TEST(AbuseListIntegrity, NoFieldBypassesTheEditorsChecks) {
    ConsoleRig rig;
    const QByteArray before = rig.file("Products.cfg");
    const auto length = [](int n) { return "Content-Length: " + QByteArray::number(n) + "\r\n"; };
    struct Case {
        QByteArray method, path, body, headers = {};
    };
    const Case cases[] = {
        {"POST", "/api/terminals", R"({"number":"2","address":127})"},
        {"POST", "/api/terminals", R"({"number":"1e3","address":"127.0.20.3"})"},
        {"POST", "/api/terminals", R"({"number":"+3","address":"127.0.20.3"})"},
        {"DELETE", "/api/terminals/+1", {}},
        {"DELETE", "/api/terminals/1", {}, "Content-Length: -1\r\n"},
        {"DELETE", "/api/terminals/1", {}, length(0) + length(5)},
    };
    for (const Case& c : cases) {
        const QByteArray head = c.method + " " + c.path + " HTTP/1.1\r\n" + rig.host() +
                                rig.withToken() + "Connection: close\r\n" +
                                (c.headers.isEmpty() ? length(int(c.body.size())) : c.headers);
        const QByteArray got = rig.exchange(head + "\r\n" + c.body);
        EXPECT_TRUE(got.startsWith("HTTP/1.1 400") || got.startsWith("HTTP/1.1 422"))
            << c.method.constData() << " " << c.body.constData() << "\n"
            << got.constData();
        EXPECT_EQ(rig.file("Products.cfg"), before) << c.body.constData();
    }
}

// Refused by the editor's checks, which refuse control characters in every field.
TEST(AbuseListIntegrity, AFieldCannotBreakALineOfTheList) {
    ConsoleRig rig;
    const Reply added = rig.ask(
        "POST", "/api/terminals",
        R"({"number":"2","address":"127.0.20.2","description":"two\r\n0032,,127.0.20.1,forged"})",
        rig.withToken());
    EXPECT_TRUE(added.status == 400 || added.status == 422) << added.body.constData();
    EXPECT_EQ(rig.file("Products.cfg"), "0001,,127.0.10.241,Line 1\r\n");
}

TEST(AbuseListIntegrity, AChangeTheDiskRefusesIsToldAsNotSaved) {
    ConsoleRig rig;
    rlimit full{0, RLIM_INFINITY};  // a file size limit of 0 bytes: every write fails
    ASSERT_EQ(::prlimit(pid_t(rig.gateway->pid()), RLIMIT_FSIZE, &full, nullptr), 0);
    const Reply added = rig.ask("POST", "/api/terminals",
                                R"({"number":"2","address":"127.0.20.2"})", rig.withToken());
    EXPECT_EQ(added.status, 200);
    EXPECT_TRUE(added.body.contains(
        R"("saved":false,"warning":"Products.cfg could not be written, the previous file is kept")"))
        << added.body.constData();
    EXPECT_EQ(rig.file("Products.cfg"), "0001,,127.0.10.241,Line 1\r\n");
}

// Connections that each send one byte a second, so that an idle timer would never end them.
struct Tricklers {
    Tricklers(const ConsoleRig& rig, int count, const QString& from = {}) {
        for (int i = 0; i < count; ++i) {
            sockets.push_back(rig.connect(from));
            sockets.back()->write("GET /healthz HTTP/1.1\r\n");
        }
        QObject::connect(&clock, &QTimer::timeout, [this] {
            for (const auto& socket : sockets) socket->write("X");
        });
        clock.start(1000);
    }
    int open() const {
        return int(std::count_if(sockets.begin(), sockets.end(), [](const auto& socket) {
            return socket->state() == QAbstractSocket::ConnectedState &&
                   socket->bytesAvailable() == 0;
        }));
    }
    std::vector<std::unique_ptr<QSslSocket>> sockets;
    QTimer clock;
};

TEST(AbuseAvailability, TricklingClientsAreCutAndLoadIsToldApartFromALinkDown) {
    ConsoleRig rig;
    Tricklers slow(rig, 66);
    // Past the cap the refusal says busy and when to come back, not that the link is down.
    ASSERT_TRUE(waitFor([&] { return slow.sockets.back()->bytesAvailable() > 0; }));
    const QByteArray busy = slow.sockets.back()->readAll();
    EXPECT_TRUE(busy.startsWith("HTTP/1.1 503")) << busy.constData();
    EXPECT_TRUE(busy.contains("Retry-After: 10\r\n") && busy.endsWith("{\"error\":\"busy\"}"));
    EXPECT_TRUE(rig.ask("GET", "/healthz").body.contains("busy"));
    // A request must be whole within its deadline, however it trickles.
    EXPECT_TRUE(waitFor([&] { return slow.open() == 0; }, 15000));
    EXPECT_EQ(rig.ask("GET", "/healthz").body, "{\"link\":\"OFFLINE\"}");
    const QByteArray metrics = rig.ask("GET", "/metrics").body;
    EXPECT_TRUE(metrics.contains("plyxen400_console_refusals_total{reason=\"deadline\"} 64\n"));
    EXPECT_TRUE(metrics.contains("plyxen400_console_refusals_total{reason=\"busy\"} 3\n"));
}

TEST(AbuseAvailability, PeersOnTheNetworkCannotLockThisMachineOut) {
    application();
    if (::unshare(CLONE_NEWNET) != 0) GTEST_SKIP() << "no network namespace of our own here";
    for (const QStringList& ip : {QStringList{"link", "set", "lo", "up"},
                                  QStringList{"addr", "add", "198.18.0.1/24", "dev", "lo"}})
        ASSERT_EQ(QProcess::execute(QStringLiteral("ip"), ip), 0);
    QProcess routes;
    routes.start(QStringLiteral("ip"), {"route", "show", "default"});
    ASSERT_TRUE(routes.waitForFinished() && routes.readAll().isEmpty()) << "a default route";
    ConsoleRig rig("0.0.0.0", true);
    ASSERT_FALSE(rig.token.isEmpty());
    std::vector<std::unique_ptr<Tricklers>> peers;  // every slot a network may have
    for (int peer = 2; peer < 9; ++peer)
        peers.push_back(
            std::make_unique<Tricklers>(rig, 8, QStringLiteral("198.18.0.%1").arg(peer)));
    // Refused in TLS itself, never with plain text inside it: one more from a peer, or a new one.
    for (const QString& from : {QStringLiteral("198.18.0.2"), QStringLiteral("198.18.0.9")}) {
        const auto refused = rig.connect(from, QStringLiteral("198.18.0.1"));
        EXPECT_FALSE(refused->isEncrypted());
        EXPECT_TRUE(refused->errorString().contains("internal error"))
            << refused->errorString().toStdString();
    }
    for (const auto& peer : peers) EXPECT_EQ(peer->open(), 8);
    // This machine's monitoring still gets in.
    EXPECT_EQ(rig.ask("GET", "/healthz").body, "{\"link\":\"OFFLINE\"}");
}

TEST(AbuseConformance, HttpAsClientsExpectIt) {
    ConsoleRig rig;
    const QByteArray host = rig.host();
    // In request order: a refusal held back for a second, then an open read.
    const QByteArray both = rig.exchange("POST /api/reset HTTP/1.1\r\n" + host +
                                         "Content-Length: 0\r\n\r\nGET /healthz HTTP/1.1\r\n" +
                                         host + "Connection: close\r\n\r\n");
    EXPECT_TRUE(both.startsWith("HTTP/1.1 401") && both.contains("HTTP/1.1 503"))
        << both.constData();
    struct Case {
        QByteArray request;
        QByteArray status;
        bool closes;
    };
    const Case cases[] = {
        {"GET /healthz HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n", "503", true},
        {"GET /healthz HTTP/1.0\r\n" + host + "\r\n", "503", true},
        {"HEAD /api/status HTTP/1.1\r\n" + host + "\r\n", "200", false},
        {"GET /" + QByteArray(70'000, 'a') + " HTTP/1.1\r\n" + host + "\r\n", "414", true},
        {"GET /healthz HTTP/1.1\r\n" + host + "X-Big: " + QByteArray(100'000, 'b') + "\r\n\r\n",
         "431", true},
        {"POST /api/test HTTP/1.1\r\n" + host + "Content-Length: 1048576\r\n\r\n", "413", true},
    };
    for (const Case& c : cases) {
        const auto socket = rig.connect();
        socket->write(c.request);
        ASSERT_TRUE(waitFor([&] { return socket->bytesAvailable() > 0; })) << c.status.constData();
        EXPECT_TRUE(socket->peek(12).endsWith(c.status)) << socket->peek(200).constData();
        EXPECT_EQ(waitFor([&] { return socket->state() != QAbstractSocket::ConnectedState; }, 2000),
                  c.closes)
            << c.status.constData();
        if (c.status == "200") {
            EXPECT_TRUE(socket->readAll().endsWith("\r\n\r\n"));  // no body
        }
    }
}

TEST(AbuseConformance, TheLiveStreamFollowsTheRulesOfEveryRoute) {
    ConsoleRig rig;
    const QByteArray upgrade =
        "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
        "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
    const auto live = [&](const QByteArray& host, const QByteArray& origin) {
        return rig.exchange("GET /live HTTP/1.1\r\nHost: " + host + "\r\n" + upgrade +
                                "Origin: " + origin + "\r\n\r\n",
                            2500);
    };
    const QByteArray own = "127.0.0.1:" + QByteArray::number(rig.port);
    const QByteArray rebound =
        live("evil.example:" + QByteArray::number(rig.port), "http://evil.example");
    const QByteArray foreign = live(own, "http://evil.example");
    const QByteArray page = live(own, "http://" + own);
    EXPECT_TRUE(rebound.startsWith("HTTP/1.1 401")) << rebound.constData();
    EXPECT_TRUE(foreign.startsWith("HTTP/1.1 403")) << foreign.constData();
    EXPECT_FALSE(foreign.contains("Access-Control-Allow-Origin"));
    EXPECT_TRUE(page.startsWith("HTTP/1.1 101") && page.contains("\x81") &&
                page.contains("{\"status\":"))
        << page.constData();
}

TEST(AbuseConformance, TlsOffersNothingWeak) {
    if (QStandardPaths::findExecutable(QStringLiteral("testssl")).isEmpty())
        GTEST_SKIP() << "testssl is not installed";
    ConsoleRig rig("127.0.0.1", true);
    ASSERT_FALSE(rig.token.isEmpty());
    QProcess testssl;
    // Every check of -U but the renegotiation's (-R): a server that ends the session on a
    // client's renegotiation, as this one does, reads as vulnerable to it depending on timing.
    testssl.start(
        QStringLiteral("testssl"),
        {"--quiet", "--color", "0",   "--warnings", "off",
         "-p",      "-s",      "-f",  "-E",         "-H",
         "-I",      "-T",      "-BB", "-C",         "-B",
         "-O",      "-Z",      "-W",  "-A",         "-L",
         "-F",      "-J",      "-D",  "-4",         QStringLiteral("127.0.0.1:%1").arg(rig.port)});
    ASSERT_TRUE(testssl.waitForFinished(600'000));
    const QString report = QString::fromUtf8(testssl.readAll());
    for (const char* weakness :
         {"TLS 1      offered", "TLS 1.1    offered",
          "Obsolete CBC ciphers (AES, ARIA etc.)         offered", "VULNERABLE", "PSK", "_CBC_"})
        EXPECT_FALSE(report.contains(QLatin1String(weakness))) << weakness << "\n"
                                                               << report.toStdString();
    EXPECT_TRUE(report.contains(QLatin1String("TLS 1.3    offered (OK)"))) << report.toStdString();
}

}  // namespace
