// The web console of the real executable, over real HTTP on loopback: what it reads, a
// command with and without the token, bad JSON, the live stream for the page's own
// origin (the token offered as a subprotocol, as the page offers it), and metrics that
// Prometheus's own checker accepts. The stream's refusals are the abuse suite's.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QWebSocket>
#include <QWebSocketHandshakeOptions>

#include "integration/console_rig.h"

namespace {

using namespace plx::qtp::testing;

TEST(WebConsoleGateway, ReadsCommandsAndBadRequests) {
    ConsoleRig rig;
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
        {"POST", "/api/synchronize", "{}", {}, 401, "it is in WebConsole.token"},
        {"POST", "/api/synchronize", "{}", rig.withToken(), 200, "{\"ok\":true}"},
        {"POST", "/api/test", "{\"test\":", rig.withToken(), 400, "Malformed JSON"},
    };
    for (const Case& c : cases) {
        const Reply reply = rig.ask(c.method, c.path, c.body, c.headers);
        EXPECT_EQ(reply.status, c.status) << c.path.constData() << reply.body.constData();
        EXPECT_TRUE(reply.body.contains(c.contains))
            << c.path.constData() << reply.body.constData();
        EXPECT_TRUE(reply.head.contains("Content-Security-Policy: default-src 'none'"));
        EXPECT_FALSE(reply.body.contains("WEBSECRET"));
    }
    EXPECT_TRUE(waitFor([&] {
        return rig.log().contains("Synchronize all products from the web console (127.0.0.1)");
    }));
}

TEST(WebConsoleGateway, LiveStreamForThePagesOwnOrigin) {
    ConsoleRig rig;
    const auto page =
        std::make_unique<QWebSocket>(QStringLiteral("http://127.0.0.1:%1").arg(rig.port));
    QWebSocketHandshakeOptions protocols;
    protocols.setSubprotocols({"plyxen400", "plyxen400.token." + QString::fromLatin1(rig.token)});
    page->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(rig.port)), protocols);
    QString notice;
    QObject::connect(page.get(), &QWebSocket::textMessageReceived,
                     [&notice](const QString& text) { notice = text; });
    EXPECT_TRUE(waitFor([&] { return !notice.isEmpty(); }));
    EXPECT_TRUE(notice.startsWith(QStringLiteral("{\"status\":"))) << notice.toStdString();
    EXPECT_EQ(page->subprotocol(), QStringLiteral("plyxen400"));
}

TEST(WebConsoleGateway, MetricsPassPromtool) {
    const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
    if (promtool.isEmpty()) GTEST_SKIP() << "promtool is not installed";
    ConsoleRig rig;
    rig.ask("POST", "/api/synchronize", "{}");  // a refusal and an answer to count
    rig.ask("GET", "/api/status");
    const QByteArray metrics = rig.ask("GET", "/metrics").body;
    for (const char* name : {"plyxen400_build_info{version=\"1.0H\"} 1\n", "process_open_fds ",
                             "process_resident_memory_bytes ", "process_start_time_seconds ",
                             "plyxen400_console_requests_total{status=\"200\"} ",
                             "plyxen400_console_refusals_total{reason=\"token\"} 1\n"})
        EXPECT_TRUE(metrics.contains(name)) << name << metrics.constData();
    QProcess check;
    check.start(promtool, {"check", "metrics"});
    check.write(metrics);
    check.closeWriteChannel();
    ASSERT_TRUE(check.waitForFinished(30000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAll().constData();
}

}  // namespace
