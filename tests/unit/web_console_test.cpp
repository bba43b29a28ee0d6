// The web console on the fake platform: its files, the access rule, the routes and bad
// input, the commands (the buttons' procedures, logged with their origin), and what it shows.
#include "web/web_console.h"

#include <gtest/gtest.h>

#include "platform/ipv4.h"
#include "platform/websocket_frames.h"
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
        {"listen 198.018.0.1:443\n", "198.18.0.1", 443, true},  // decimal, as everywhere
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
    for (const char* other : {"128.0.0.1", "198.18.0.127", "::ffff:198.18.0.1", "::2", ""})
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
    EXPECT_EQ(std::get<std::string>(fields->at("number")), "7");
    EXPECT_EQ(std::get<long long>(fields->at("n")), -12);
    EXPECT_EQ(std::get<std::vector<long long>>(fields->at("list")),
              (std::vector<long long>{1, 2, 3}));
    EXPECT_EQ(std::get<std::string>(fields->at("text")), "\xE9" + euroText + "\n");
    EXPECT_EQ(std::get<std::string>(fields->at("utf8")), "\xE9" + euroText);
    // An overlong NUL, a stray continuation, a cut character: none gets through as itself.
    EXPECT_EQ(std::get<std::string>(fields->at("notUtf8")).find_first_not_of("? "),
              std::string::npos);
    for (const char* bad : {"", "[]", "{", "{\"a\"}", "{\"a\":}", "{\"a\":\"x}", "{\"a\":1,}",
                            "{\"a\":[1,\"x\"]}", "{\"a\":1} x", "{\"a\":1.5}", "{\"a\":\"\\q\"}",
                            "{\"a\":12345678901234}", "{\"a\":1e3}", "{\"a\":\"x\",\"a\":\"y\"}"}) {
        EXPECT_FALSE(parseJsonObject(bad, error)) << bad;
        EXPECT_EQ(error.rfind("Malformed JSON: ", 0), 0U) << bad;
    }
}

// A client's frame: masked with the key 01 02 03 04, as a client must.
std::string clientFrame(unsigned char first, const std::string& payload, bool masked = true) {
    std::string frame{char(first), char((masked ? 0x80 : 0) | payload.size())};
    if (masked) frame += std::string("\x01\x02\x03\x04");
    for (std::size_t i = 0; i < payload.size(); ++i)
        frame += char(payload[i] ^ (masked ? i % 4 + 1 : 0));
    return frame;
}

TEST(WebRules, LiveStreamFrames) {
    using Op = WebSocketOpcode;
    EXPECT_EQ(webSocketFrame(Op::Text, "hello"), "\x81\x05hello");
    EXPECT_EQ(webSocketFrame(Op::Text, std::string(200, 'x')).substr(0, 4),
              std::string("\x81\x7e\x00\xc8", 4));
    struct Case {
        std::string in, reply;
        bool close;
    };
    const std::string protocolError = webSocketFrame(Op::Close, "\x03\xea");  // 1002
    const Case cases[] = {
        {clientFrame(0x89, "abc"), webSocketFrame(Op::Pong, "abc"), false},
        {clientFrame(0x81, "hi") + clientFrame(0x8A, ""), "", false},  // text, pong: nothing
        {clientFrame(0x88, "\x03\xe8"), webSocketFrame(Op::Close, "\x03\xe8"), true},
        {clientFrame(0x89, "abc", false), protocolError, true},  // not masked
        {clientFrame(0xC1, "x"), protocolError, true},           // a reserved bit
        {clientFrame(0x09, "x"), protocolError, true},           // a control frame in parts
        {clientFrame(0x83, "x"), protocolError, true},           // no such opcode
        {std::string("\x81\xfe\x07\xd0", 4), webSocketFrame(Op::Close, "\x03\xf1"),
         true},  // 2000 bytes
    };
    for (const Case& c : cases) {
        for (std::size_t cut = 0; cut <= c.in.size(); ++cut) {
            WebSocketReader reader;
            const auto first = reader.take(c.in.substr(0, cut));
            const auto second = reader.take(c.in.substr(cut));
            EXPECT_EQ(first.bytes + second.bytes, c.reply) << cut;
            EXPECT_EQ(first.close || second.close, c.close) << cut;
        }
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
    using Headers = std::vector<std::pair<std::string, std::string>>;
    HttpResponse ask(const std::string& method, const std::string& path,
                     const std::string& body = {}, const std::string& peer = "127.0.0.1",
                     bool withToken = true, const std::string& host = "127.0.0.1:8400",
                     const Headers& headers = {}) {
        HttpRequest request{method, path, {}, {{"host", host}}, body, peer};
        const std::size_t mark = path.find('?');
        if (mark != std::string::npos) {
            request.path = path.substr(0, mark);
            request.query = path.substr(mark + 1);
        }
        if (withToken) request.headers.emplace_back("x-console-token", token());
        request.headers.insert(request.headers.end(), headers.begin(), headers.end());
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
    EXPECT_EQ(readFile(kWebReadTokenFile), "(missing)");  // made only when asked for
    writeFile(kWebConsoleFile, "listen 0.0.0.0:8443\r\nread-token\r\n");
    WebConsole third{gateway};
    third.start();
    EXPECT_EQ(readFile(kWebTokenFile), made + "\n");
    EXPECT_EQ(readFile(kWebReadTokenFile), made + "\n");
    EXPECT_TRUE(ownerOnly(path(kWebReadTokenFile)));
}

TEST_F(WebConsoleTest, AccessRoutesAndBadInput) {
    const std::string r = "read-only-token-of-forty-characters-xxxx";
    writeFile(kWebReadTokenFile, r + "\n");
    startConsole("listen 127.0.0.1:8400\r\nread-token\r\n");
    const std::string t = token();
    struct Case {
        std::string method, path, peer, token, body;
        int status;
        std::string says;  // in the answer's Allow or its body
        std::string host = "127.0.0.1:8400";
        Headers headers = {};
    };
    const Headers stream = {{"upgrade", "WebSocket"}, {"sec-websocket-protocol", "plyxen400"}};
    const auto with = [](Headers headers, std::string name, std::string value) {
        headers.emplace_back(std::move(name), std::move(value));
        return headers;
    };
    const Headers offered = with({{"upgrade", "websocket"}}, "sec-websocket-protocol",
                                 "plyxen400, plyxen400.token." + t);
    const Headers bearer = {{"authorization", "bEARER " + r}};  // as monitoring tools send it
    const std::string folder = ": it is in WebConsole.token in the gateway's folder";
    const Case cases[] = {
        {"GET", "/api/status", "127.0.0.1", "", "", 200, ""},  // reading: open on loopback
        {"HEAD", "/metrics", "::1", "", "", 200, ""},
        // A name, not an address: another site's, rebound to 127.0.0.1.
        {"GET", "/api/events", "127.0.0.1", "", "", 401, "", "rebound.example:8400"},
        {"GET", "/healthz", "198.18.0.7", "", "", 401, ""},  // elsewhere: a token
        {"GET", "/livez", "198.18.0.7", t, "", 200, ""},     // the link is down, the loop answers
        // The read-only token: reading from elsewhere, as Prometheus scrapes, and no command.
        {"GET", "/metrics", "198.18.0.7", "", "", 200, "", "gateway.plant:8443", bearer},
        {"POST", "/api/pause", "::1", r, "{}", 403, "This is the read-only token (WebConsole."},
        {"GET", "/api/token", "198.18.0.7", r, "", 200, R"({"access":"read"})"},
        {"GET", "/api/token", "127.0.0.1", t, "", 200, R"({"access":"command"})"},
        {"GET", "/api/token", "127.0.0.1", "", "", 401, ""},  // a check needs a token
        {"POST", "/api/synchronize", "127.0.0.1", "", "{}", 401,
         "needs the gateway's token" + folder},
        {"POST", "/api/reset", "127.0.0.1", "guess", "{}", 401, "is not the gateway's" + folder},
        {"GET", "/", "198.18.0.7", "", "", 200, ""},  // the page itself: to anyone
        {"GET", "/api/terminals/0001", "127.0.0.1", t, "", 405, "PUT, DELETE"},
        {"POST", "/api/status", "127.0.0.1", t, "", 405, "GET, HEAD"},
        {"PUT", "/api/terminals", "127.0.0.1", t, "", 405, "GET, HEAD, POST"},
        {"PUT", "/api/terminals/0001/x", "127.0.0.1", t, "", 404, ""},
        {"DELETE", "/api/terminals/1\r\n23:59:58 GENERAL", "127.0.0.1", "", "", 400, ""},
        {"DELETE", "/api/terminals/+1", "127.0.0.1", t, "", 400, ""},
        {"POST", "/api/test", "127.0.0.1", t, "{\"test\":\"dance\"}", 400, ""},
        {"POST", "/api/test", "127.0.0.1", t, "{\"test\":\"dash\",\"terminals\":1}", 400, ""},
        {"PUT", "/api/terminals/0042", "127.0.0.1", t, "{}", 404, ""},
        // The live stream: the rules of every route, its own page's origin only.
        {"GET", "/live", "127.0.0.1", "", "", 400, ""},
        {"GET", "/live", "127.0.0.1", "", "", 101, "", "127.0.0.1:8400",
         with(stream, "origin", "http://127.0.0.1:8400")},
        {"GET", "/live", "127.0.0.1", "", "", 403, "", "127.0.0.1:8400",
         with(stream, "origin", "http://elsewhere.example")},
        {"GET", "/live", "127.0.0.1", "", "", 401, "", "evil.example:8400", stream},
        {"GET", "/live", "198.18.0.7", "", "", 101, "", "gateway.plant:8400", offered},
    };
    for (const Case& c : cases) {
        const HttpResponse answer = ask(c.method, c.path, c.body, c.peer, false, c.host,
                                        with(c.headers, "x-console-token", c.token));
        EXPECT_EQ(answer.status, c.status) << c.method << " " << c.path << " " << answer.body;
        EXPECT_NE((header(answer, "Allow") + answer.body).find(c.says), std::string::npos);
        EXPECT_NE(header(answer, "Content-Security-Policy").find("default-src 'none'"),
                  std::string::npos);
        EXPECT_EQ(header(answer, "X-Frame-Options"), "DENY");
        EXPECT_EQ(header(answer, "Access-Control-Allow-Origin"), "(none)");
        if (c.status == 101) {
            EXPECT_EQ(header(answer, "Sec-WebSocket-Protocol"), "plyxen400");
        }
    }
    EXPECT_EQ(ask("GET", "/").contentType, "text/html; charset=utf-8");
    // Refusals wait, then go out together with one line for all of them.
    forgetEvents();
    platform.http->request({"POST", "/api/pause", {}, {}, "{}", "127.0.0.1"});
    platform.http->request(
        {"POST", "/api/reset", {}, {{"x-console-token", "guess"}}, "{}", "198.18.0.9"});
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
                  .body,
              R"({"ok":true,"saved":true,"entry":"0007,,127.0.10.7,Dock 7"})");
    EXPECT_EQ(ask("POST", "/api/terminals", R"({"number":"0007","address":"x"})").body,
              R"({"error":"Error this terminal number is already in use"})");
    // Typed strictly: "1e3" would read as 1000, a number as an address would be stored empty.
    EXPECT_EQ(ask("POST", "/api/terminals", R"({"number":"1e3","address":"x"})").body,
              R"({"error":"\"number\" must be digits only"})");
    EXPECT_EQ(ask("POST", "/api/terminals", R"({"number":"8","address":127})").body,
              R"({"error":"\"address\" must be a text"})");
    EXPECT_EQ(ask("POST", "/api/terminals", R"({"number":"","address":"x"})").status, 422);
    EXPECT_EQ(ask("PUT", "/api/terminals/2", R"({"number":"3","address":"127.0.10.7"})").body,
              R"j({"error":"Error this IP address is already in use (Terminal:0007)"})j");
    ask("PUT", "/api/terminals/0002",
        R"({"number":"3","address":"127.0.10.3","description":"Moved"})");
    // A change the disk refused is made, and the answer says it was not saved.
    platform.fakeFiles().failWrites = true;
    EXPECT_EQ(
        ask("DELETE", "/api/terminals/1").body,
        R"({"ok":true,"saved":false,"warning":"Products.cfg could not be written, the previous file is kept"})");
    platform.fakeFiles().failWrites = false;
    EXPECT_EQ(readFile("Products.cfg"),
              "0001,,127.0.10.1,Line 1\r\n0003,,127.0.10.3,Moved\r\n0007,,127.0.10.7,Dock 7\r\n");
    main().listChanged();
    EXPECT_EQ(readFile("Products.cfg"), "0003,,127.0.10.3,Moved\r\n0007,,127.0.10.7,Dock 7\r\n");
    EXPECT_EQ(state().TAB_ROW_OF_NO[7], 1);
    EXPECT_EQ(eventTexts("GENERAL"), (Strings{"ADD PRODUCT: 0007,,127.0.10.7,Dock 7" + from,
                                              "EDIT PRODUCT: 0003,,127.0.10.3,Moved" + from,
                                              "REMOVE PRODUCT: 0001,,127.0.10.1,Line 1" + from}));

    // While the workstation's editor is open, the list is the operator's there.
    std::vector<HttpResponse> during;
    withEditor(main().B_ADD_TERM, [&](F_ADD_PRODUCT&) {
        for (const char* method : {"DELETE", "PUT"})
            during.push_back(ask(method, "/api/terminals/3", R"({"number":"3"})"));
        ask("POST", "/api/synchronize", "{}");  // not a list change: it goes
    });
    for (const HttpResponse& refused : during) EXPECT_EQ(refused.status, 409) << refused.body;
    EXPECT_NE(during[1].body.find("the terminal editor is open"), std::string::npos);
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
        R"({"link":"ONLINE","tls":null,"host":"127.0.0.1:1024","status":"Connected","sinceSeconds":6,"hostDataSeconds":3,"heart":true,"editorOpen":false,"caption":"Plyxen AS-400 Mervax Version: 1.0H","clock":"14:05:20","uptimeSeconds":11})");
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
          "plyxen400_datagrams_sent_total 2\n",
          "plyxen400_datagrams_failed_total{reason=\"stalled\"} 0\n",
          "plyxen400_host_data_age_seconds 3\n", "plyxen400_uptime_seconds 11\n",
          "# TYPE plyxen400_host_received_bytes_total counter\nplyxen400_host_received_bytes_total "
          "22\n",
          "plyxen400_build_info{version=\"1.0H\"} 1\n", "process_start_time_seconds 1765000000\n",
          "plyxen400_console_requests_total{status=\"200\"} ", "process_open_fds 20\n"})
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
