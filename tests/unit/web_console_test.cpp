// The web console on the fake platform: its files, the access rule, the routes and bad
// input, the commands (the buttons' procedures, logged with their origin), and what it shows.
#include "web/web_console.h"

#include <gtest/gtest.h>

#include "support/gateway_fixture.h"
#include "web/json_text.h"
#include "web/web_settings.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace plx::testing_support {
namespace {

TEST(WebRules, SettingsFile) {
    struct Case {
        std::string content, address;
        int port;
        bool usable;
    };
    const Case cases[] = {
        {"", "127.0.0.1", 8400, true},
        {"# the console\r\n\r\nlisten 127.0.0.1:8401 # mine\r\n", "127.0.0.1", 8401, true},
        {"listen 10.010.0.1:443\n", "10.10.0.1", 443, true},  // decimal, as everywhere
        {"listen 127.0.0.1\r\n", "", 0, false},
        {"listen console.plant:80\r\n", "", 0, false},
        {"listen 127.0.0.1:0\r\n", "", 0, false},
        {"port 8400\r\n", "", 0, false},
    };
    for (const Case& c : cases) {
        const WebConsoleSettings settings = readWebConsoleSettings(c.content);
        EXPECT_EQ(settings.problem.empty(), c.usable) << c.content;
        if (!c.usable) continue;
        EXPECT_EQ(settings.address, c.address) << c.content;
        EXPECT_EQ(settings.port, c.port) << c.content;
    }
    for (const char* loopback : {"127.0.0.1", "127.9.8.7", "::1", "::ffff:127.0.0.1"})
        EXPECT_TRUE(isLoopbackAddress(loopback)) << loopback;
    for (const char* other : {"128.0.0.1", "10.0.0.127", "::ffff:10.0.0.1", "::2", ""})
        EXPECT_FALSE(isLoopbackAddress(other)) << other;
    EXPECT_TRUE(sameSecret("abcd", "abcd"));
    for (const char* wrong : {"abce", "abc", "abcde", "", "ABCD"})
        EXPECT_FALSE(sameSecret(wrong, "abcd"));
    EXPECT_FALSE(sameSecret("", ""));  // no token, no command
}

// The gateway's text is Latin-1 here and the code page on Windows (cp1252, where € is 0x80).
TEST(WebRules, JsonInAndOut) {
#ifdef _WIN32
    if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP() << ", not cp1252";
    const std::string euroText = "\x80", euroJson = "\xE2\x82\xAC";
#else
    const std::string euroText = "?", euroJson = "\xC2\x80";
#endif
    EXPECT_EQ(jsonString("Quai n\xB0 \x80 \"3\"\\\r"),
              "\"Quai n\xC2\xB0 " + euroJson + " \\\"3\\\"\\\\\\u000d\"");
    std::string error;
    const auto fields = parseJsonObject(
        R"( {"number":"7", "n":-12, "list":[1, 2,3], "text":"\u00e9\u20ac\n", "utf8":"é€", )"
        "\"notUtf8\":\"\xC0\x80 \x80 \xE2\x82\"}",
        error);
    ASSERT_TRUE(fields) << error;
    EXPECT_EQ(fields->texts.at("number"), "7");
    EXPECT_EQ(fields->numbers.at("n"), -12);
    EXPECT_EQ(fields->lists.at("list"), (std::vector<long long>{1, 2, 3}));
    EXPECT_EQ(fields->texts.at("text"), "\xE9" + euroText + "\n");
    EXPECT_EQ(fields->texts.at("utf8"), "\xE9" + euroText);
    // An overlong NUL, a stray continuation, a cut character: none gets through as itself.
    EXPECT_EQ(fields->texts.at("notUtf8").find_first_not_of("? "), std::string::npos);
    for (const char* bad :
         {"", "[]", "{", "{\"a\"}", "{\"a\":}", "{\"a\":\"x}", "{\"a\":1,}", "{\"a\":[1,\"x\"]}",
          "{\"a\":1} x", "{\"a\":1.5}", "{\"a\":\"\\q\"}", "{\"a\":12345678901234}"}) {
        EXPECT_FALSE(parseJsonObject(bad, error)) << bad;
        EXPECT_EQ(error.rfind("Malformed JSON: ", 0), 0U) << bad;
    }
}

class WebConsoleTest : public TerminalsGatewayTest {
  protected:
    WebConsoleTest() {
        platform.embedded["index.html"] = "<!DOCTYPE html>";
        as400().INP_PSW.setText("SECRETPW");
    }
    void startConsole(const std::string& settings = "listen 127.0.0.1:8400\r\n") {
        writeFile(kWebConsoleFile, settings);
        console.start();
        if (platform.http) platform.http->streams = 1;
    }
    std::string token() { return readFile(kWebTokenFile).substr(0, 64); }
    // The answer, once the event loop has run; every answer is checked for the password.
    HttpResponse ask(const std::string& method, const std::string& path,
                     const std::string& body = {}, const std::string& peer = "127.0.0.1",
                     bool withToken = true, bool asBearer = false,
                     const std::string& host = "127.0.0.1:8400") {
        HttpRequest request{method, path, {}, {{"host", host}}, body, peer};
        const std::size_t mark = path.find('?');
        if (mark != std::string::npos) {
            request.path = path.substr(0, mark);
            request.query = path.substr(mark + 1);
        }
        if (withToken) request.headers.emplace_back("x-console-token", token());
        if (asBearer) request.headers.emplace_back("authorization", "Bearer " + token());
        platform.http->request(request);
        platform.runEvents();
        if (!*platform.http->answers.back()) platform.advance(WebConsole::kRefusalDelayMs);
        const HttpResponse answer = platform.http->answers.back()->value();
        EXPECT_EQ(answer.body.find("SECRETPW"), std::string::npos) << path;
        return answer;
    }
    static std::string header(const HttpResponse& response, const std::string& name) {
        for (const auto& [key, value] : response.headers) {
            if (key == name) return value;
        }
        return "(none)";
    }

    WebConsole console{gateway};
};

TEST_F(WebConsoleTest, OffWithoutItsFileAndOnLoopbackOrTlsOnly) {
    console.start();
    EXPECT_EQ(platform.http, nullptr);

    WebConsole elsewhere{gateway};
    writeFile(kWebConsoleFile, "listen 0.0.0.0:8443\r\n");
    elsewhere.start();
    EXPECT_EQ(platform.http, nullptr);
    EXPECT_EQ(eventTexts("Warning"),
              Strings{"Web console not started: listening on 0.0.0.0 needs TLS (WebConsole.pem and "
                      "WebConsole.key in the folder)"});

    writeFile(kWebCertificateFile, "CERTIFICATE");
    writeFile(kWebKeyFile, "KEY");
    elsewhere.start();
    ASSERT_NE(platform.http, nullptr);
    EXPECT_EQ(platform.http->listens.at(0).address, "0.0.0.0");
    EXPECT_EQ(platform.http->listens.at(0).certificatePem, "CERTIFICATE");
    EXPECT_EQ(platform.http->listens.at(0).keyPem, "KEY");
    EXPECT_EQ(eventTexts("GENERAL").back(), "Web console on https://0.0.0.0:8443");
    // The token: random, made once, readable by the gateway's account only.
    std::string made;
    for (int i = 0; i < 32; ++i) made += "5a";  // the fake's random bytes, in hexadecimal
    EXPECT_EQ(readFile(kWebTokenFile), made + "\n");
    EXPECT_TRUE(ownerOnly(path(kWebTokenFile)));
    // Kept across starts; one too short to be safe is replaced.
    writeFile(kWebTokenFile, "kept-token-of-forty-characters-xxxxxxxxx\r\n");
    WebConsole again{gateway};
    again.start();
    EXPECT_EQ(readFile(kWebTokenFile), "kept-token-of-forty-characters-xxxxxxxxx\r\n");
    writeFile(kWebTokenFile, "short\n");
    WebConsole third{gateway};
    third.start();
    EXPECT_EQ(readFile(kWebTokenFile), made + "\n");
}

TEST_F(WebConsoleTest, AccessRoutesAndBadInput) {
    startConsole();
    struct Case {
        std::string method, path, peer;
        bool token;
        std::string body;
        int status;
        std::string allow;
        std::string host = "127.0.0.1:8400";
    };
    const std::string big(WebConsole::kMaxBodyBytes + 1, ' ');
    const Case cases[] = {
        {"GET", "/api/status", "127.0.0.1", false, "", 200, ""},  // reading: open on loopback
        {"GET", "/metrics", "::1", false, "", 200, ""},
        // A name, not an address: another site's, rebound to 127.0.0.1.
        {"GET", "/api/events", "127.0.0.1", false, "", 401, "", "rebound.example:8400"},
        {"GET", "/healthz", "192.0.2.7", false, "", 401, ""},  // elsewhere: the token
        {"GET", "/healthz", "192.0.2.7", true, "", 503, ""},
        {"GET", "/livez", "192.0.2.7", true, "", 200, ""},  // the link is down, the loop answers
        {"GET", "/livez", "192.0.2.7", false, "", 401, ""},
        {"POST", "/api/synchronize", "127.0.0.1", false, "{}", 401, ""},  // commands: always
        {"GET", "/", "127.0.0.1", false, "", 200, ""},
        {"GET", "/index.html", "127.0.0.1", false, "", 404, ""},
        {"GET", "/api/terminals/0001", "127.0.0.1", true, "", 405, "PUT, DELETE"},
        {"POST", "/api/status", "127.0.0.1", true, "", 405, "GET"},
        {"PUT", "/api/terminals", "127.0.0.1", true, "", 405, "GET, POST"},
        {"PUT", "/api/terminals/0001/x", "127.0.0.1", true, "", 404, ""},
        {"POST", "/api/test", "127.0.0.1", true, "{\"test\":", 400, ""},
        {"POST", "/api/test", "127.0.0.1", true, "{\"test\":\"dance\"}", 400, ""},
        {"POST", "/api/test", "127.0.0.1", true, big, 413, ""},
        {"GET", "/live", "127.0.0.1", false, "", 400, ""},
        {"PUT", "/api/terminals/0042", "127.0.0.1", true, "{}", 404, ""},
    };
    for (const Case& c : cases) {
        const HttpResponse answer = ask(c.method, c.path, c.body, c.peer, c.token, false, c.host);
        EXPECT_EQ(answer.status, c.status) << c.method << " " << c.path << " " << answer.body;
        if (!c.allow.empty()) {
            EXPECT_EQ(header(answer, "Allow"), c.allow) << c.path;
        }
        EXPECT_NE(header(answer, "Content-Security-Policy").find("default-src 'none'"),
                  std::string::npos);
        EXPECT_EQ(header(answer, "X-Frame-Options"), "DENY");
    }
    EXPECT_EQ(ask("GET", "/").contentType, "text/html; charset=utf-8");
    // The token as monitoring tools send it.
    EXPECT_EQ(ask("GET", "/metrics", "", "192.0.2.7", false, true).status, 200);
    // Refusals wait, then go out together with one line for all of them.
    forgetEvents();
    platform.http->request({"POST", "/api/pause", {}, {}, "{}", "127.0.0.1"});
    platform.http->request(
        {"POST", "/api/reset", {}, {{"x-console-token", "guess"}}, "{}", "10.0.0.9"});
    platform.advance(WebConsole::kRefusalDelayMs - 1);
    EXPECT_FALSE(*platform.http->answers.back());
    platform.advance(1);
    EXPECT_EQ(platform.http->answers.back()->value().status, 401);
    EXPECT_EQ(eventTexts("Warning"),
              Strings{"Web console: wrong or missing token, refused POST /api/pause from 127.0.0.1 "
                      "(2 requests refused in the last second)"});
    EXPECT_EQ(state().LINK_STATE, OFFLINE);
}

TEST_F(WebConsoleTest, CommandsAreTheButtonsProceduresLoggedWithTheirOrigin) {
    startConsole();
    goOnline();
    forgetHistory();
    const std::string from = " from the web console (127.0.0.1)";
    // The page's selection, not the workstation's (where nothing is selected).
    EXPECT_EQ(ask("POST", "/api/test", R"({"test":"number","terminals":[2]})").status, 200);
    EXPECT_EQ(shown(), (Strings{"127.0.10.2 0002", "127.0.10.2 0002"}));
    EXPECT_EQ(eventTexts("TEST"), Strings{"Show Terminal Number" + from});
    EXPECT_EQ(ask("POST", "/api/test", R"({"test":"dash","terminals":[]})").body,
              R"j({"error":"Please seclect a product(s)"})j");
    EXPECT_EQ(ask("POST", "/api/test", R"({"test":"dash","terminals":[3]})").body,
              R"({"error":"No terminal 0003 in the list"})");
    EXPECT_TRUE(platform.messages.empty());
    ask("POST", "/api/synchronize", "{}");
    EXPECT_EQ(eventTexts("GENERAL"), Strings{"Synchronize all products" + from});
    ask("POST", "/api/pause", "{}");
    EXPECT_EQ(state().LINK_STATE, PAUSE);
    ask("POST", "/api/pause", "{}");
    ask("POST", "/api/reset", "{}");
    EXPECT_EQ(eventTexts("Status"), (Strings{"PAUSE" + from, "Reset connection PAUSE finish" + from,
                                             "Reset connection" + from}));
    EXPECT_EQ(state().STATS.dropsOperator, 1);  // only the PAUSE left ONLINE

    // The list: the editor's checks and messages, saved as the windows save.
    forgetEvents();
    EXPECT_EQ(ask("POST", "/api/terminals",
                  R"({"number":"7","address":" 127.0.10.7 ","description":"Dock, 7"})")
                  .status,
              200);
    EXPECT_EQ(ask("POST", "/api/terminals", R"({"number":"0007","address":"x"})").body,
              R"({"error":"Error this terminal number is already in use"})");
    EXPECT_EQ(ask("POST", "/api/terminals", R"({"number":"","address":"x"})").status, 422);
    EXPECT_EQ(ask("PUT", "/api/terminals/2", R"({"number":"3","address":"127.0.10.7"})").body,
              R"j({"error":"Error this IP address is already in use (Terminal:0007)"})j");
    ask("PUT", "/api/terminals/0002",
        R"({"number":"3","address":"127.0.10.3","description":"Moved"})");
    ask("DELETE", "/api/terminals/1");
    EXPECT_EQ(readFile("Products.cfg"), "0003,,127.0.10.3,Moved\r\n0007,,127.0.10.7,Dock 7\r\n");
    EXPECT_EQ(state().TAB_ROW_OF_NO[7], 1);
    EXPECT_EQ(eventTexts("GENERAL"), (Strings{"ADD PRODUCT: 0007,,127.0.10.7,Dock 7" + from,
                                              "EDIT PRODUCT: 0003,,127.0.10.3,Moved" + from,
                                              "REMOVE PRODUCT: 0001,,127.0.10.1,Line 1" + from}));

    // While the workstation's editor is open, the list is the operator's there.
    HttpResponse during;
    withEditor(main().B_ADD_TERM, [&](F_ADD_PRODUCT&) {
        during = ask("DELETE", "/api/terminals/3");
        ask("POST", "/api/synchronize", "{}");  // not a list change: it goes
    });
    EXPECT_EQ(during.status, 409);
    EXPECT_NE(during.body.find("the terminal editor is open"), std::string::npos);
    EXPECT_EQ(list().count(), 2);
    EXPECT_EQ(eventTexts("GENERAL").back(), "Synchronize all products" + from);
}

TEST_F(WebConsoleTest, ACommandWaitsForTheDispatchUnderWay) {
    startConsole();
    goOnline();
    forgetHistory();
    bool answeredInPump = true;
    atNextPump([&] {
        platform.http->request(
            {"POST", "/api/synchronize", {}, {{"x-console-token", token()}}, "{}", "::1"});
        answeredInPump = platform.http->answers.back()->has_value();
    });
    hostSends("<000112340>");
    EXPECT_FALSE(answeredInPump);
    EXPECT_EQ(platform.http->answers.back()->value().status, 200);
    // The host's frame went first, whole; then the Synchronize.
    EXPECT_EQ(shown(), (Strings{"127.0.10.1 1234", "127.0.10.1 1234", "127.0.10.1 ----",
                                "127.0.10.1 ----", "127.0.10.2 ----", "127.0.10.2 ----"}));
    EXPECT_EQ(eventTexts("GENERAL"),
              Strings{"Synchronize all products from the web console (::1)"});
}

TEST_F(WebConsoleTest, WhatItShowsAndPushes) {
    startConsole();
    EXPECT_EQ(
        ask("GET", "/api/terminals").body,
        R"({"version":1,"full":true,"terminals":[{"row":0,"number":"0001","type":"","address":"127.0.10.1","description":"Line 1","value":null},{"row":1,"number":"0002","type":"","address":"127.0.10.2","description":"Line 2","value":null}]})");
    goOnline();
    platform.advance(F_AS400::kSignOnDelayMs);
    hostSends("<00021234A><00091111 >");
    platform.advance(3000);
    // Only the changed row, drawn in its colour pattern, with its age.
    EXPECT_EQ(
        ask("GET", "/api/terminals?since=1").body,
        R"({"version":2,"full":false,"terminals":[{"row":1,"number":"0002","type":"","address":"127.0.10.2","description":"Line 2","value":"1234","colour":"A","pattern":"6611","sentSecondsAgo":3}]})");
    EXPECT_EQ(ask("GET", "/api/terminals?since=2").body,
              R"({"version":2,"full":false,"terminals":[]})");
    EXPECT_EQ(
        ask("GET", "/api/status").body,
        R"({"link":"ONLINE","tls":null,"host":"127.0.0.1:1024","status":"Connected","sinceSeconds":6,"hostDataSeconds":3,"heart":true,"editorOpen":false,"caption":"Plyxen AS-400 Mervax Version: 1.0H","uptimeSeconds":11})");
    EXPECT_EQ(ask("GET", "/healthz").status, 200);
    const long long newest = eventWindow().linesShown();
    EXPECT_EQ(
        ask("GET", "/api/events?after=" + std::to_string(newest - 2)).body,
        "{\"newest\":" + std::to_string(newest) + ",\"events\":[" +
            "{\"id\":" + std::to_string(newest) +
            R"(,"mode":"Warning","line":"14:05:17 Warning:Server [127.0.0.1],<><F1111   > The product number 0009 does not exist !"},)" +
            "{\"id\":" + std::to_string(newest - 1) +
            R"(,"mode":"CMD","line":"14:05:17 CMD:0002,<)" + "\xC3\xBE\xC3\xB8" +
            R"(\u0008\u0002><F1234  661100>"}]})");
    const std::string metrics = ask("GET", "/metrics").body;
    for (const char* sample :
         {"plyxen400_link_state 1\n", "plyxen400_host_connects_total 1\n",
          "plyxen400_host_drops_total{cause=\"watchdog\"} 0\n", "plyxen400_host_frames_total 2\n",
          "plyxen400_commands_sent_total 1\n", "plyxen400_unknown_terminal_warnings_total 1\n",
          "plyxen400_host_data_age_seconds 3\n", "plyxen400_uptime_seconds 11\n",
          "# TYPE plyxen400_host_received_bytes_total counter\nplyxen400_host_received_bytes_total "
          "22\n"})
        EXPECT_NE(metrics.find(sample), std::string::npos) << sample;

    // The pages are told what changed, never the state itself, and only when it changed.
    std::vector<std::string>& pushed = platform.http->broadcasts;
    const std::size_t before = pushed.size();
    platform.advance(WebConsole::kPushPeriodMs * 2);
    EXPECT_EQ(pushed.size(), before);
    EXPECT_TRUE(
        pushed.back().ends_with(",\"terminals\":2,\"events\":" + std::to_string(newest) + "}"))
        << pushed.back();
    hostSends("<00025678A>");
    platform.advance(WebConsole::kPushPeriodMs);
    ASSERT_EQ(pushed.size(), before + 1);
    EXPECT_NE(pushed.back().find(",\"terminals\":3,"), std::string::npos) << pushed.back();
    platform.http->streams = 0;
    hostSends("<00021111A>");
    platform.advance(WebConsole::kPushPeriodMs * 4);
    EXPECT_EQ(pushed.size(), before + 1);

    // Each terminal a probe can reach, for Prometheus's service discovery.
    addTerminal("0003,,,Spare");
    EXPECT_EQ(ask("GET", "/api/prometheus/targets").body,
              R"([{"targets":["127.0.10.1"],"labels":{"number":"0001","description":"Line 1"}},)"
              R"({"targets":["127.0.10.2"],"labels":{"number":"0002","description":"Line 2"}}])");
}

}  // namespace
}  // namespace plx::testing_support
