#pragma once
// The web console: the workstation's console in a browser, for a gateway without a screen.
// It sits above the windows: it reads what they hold and calls the procedures their buttons
// call, so a command from the web does what the button does and logs it the same way, ending
// with "from the web console (address)". Off unless WebConsole.cfg is in the folder.
//
// Access: the page's files are open to all; reading (the API, /metrics, /healthz, the live
// stream) is open to loopback peers that name the console by its address; any other peer
// needs a token, and every command the token of WebConsole.token. The read-only token of
// WebConsole.read-token, made only when WebConsole.cfg asks for it, opens reading alone. A
// token comes in the X-Console-Token header, as a bearer's, or, from a page's WebSocket,
// which can send no header, as a subprotocol (a header, never a cookie: another site's page
// cannot send it). A refused request is answered after a delay, and logged at most once per
// delay.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "web/metrics.h"
#include "web/terminal_rows.h"

namespace plx {

class Gateway;

class WebConsole {
  public:
    static constexpr int kPushPeriodMs = 250;     // a change reaches the pages within this
    static constexpr int kRefusalDelayMs = 1000;  // before a refused request is answered
    static constexpr std::size_t kMaxHeldRefusals = 64;
    static constexpr const char* kTokenHeader = "x-console-token";
    // The live stream's subprotocol, and the one that carries the token beside it.
    static constexpr std::string_view kStreamProtocol = "plyxen400";
    static constexpr std::string_view kTokenProtocol = "plyxen400.token.";

    explicit WebConsole(Gateway& gateway);
    ~WebConsole();
    WebConsole(const WebConsole&) = delete;
    WebConsole& operator=(const WebConsole&) = delete;

    // Reads WebConsole.cfg and listens as it says; without the file, nothing. A problem is a
    // Warning in the log.
    void start();
    // Where it listens ("http://127.0.0.1:8400"), empty when it does not.
    const std::string& address() const { return address_; }

  private:
    using Handler = HttpResponse (WebConsole::*)(const HttpRequest&);
    // Page: the page's own files, to anyone (they hold nothing but the page, which a browser
    // on another machine must load before it can send the token). Read: open to this
    // machine's own pages, from elsewhere with either token. Check: either token, from
    // anywhere. Command: the command token always.
    enum class Access { Page, Read, Check, Command };
    // What the token a request gives opens.
    enum class Grant { None, Read, Command };
    struct Refusal;
    static const Refusal kNoToken, kWrongToken, kReadOnly;
    struct Route {
        std::string_view method;   // a GET route answers HEAD too
        std::string_view pattern;  // ending in "/": any one name below it
        Handler handler;
        Access access;
    };
    static const Route kRoutes[];

    // The subprotocols a WebSocket request offers, in its order.
    static std::vector<std::string> offeredProtocols(const HttpRequest& request);
    // The token kept in `file`, or a new one written there; empty, with a Warning ending in
    // `without`, when it cannot be written.
    std::string loadToken(const std::string& file, const std::string& without);
    Grant grantOf(const std::string& token) const;
    void handle(const HttpRequest& request, HttpServerPort::Respond respond);
    void send(const HttpServerPort::Respond& respond, HttpResponse response);
    void refuse(const HttpRequest& request, HttpServerPort::Respond respond, const Refusal& why);
    void answerRefusals();
    // Runs a command once no dispatch is under way further up (as the operator's clicks wait).
    void whenNotDispatching(std::function<void()> command);
    void push();

    // Reading.
    HttpResponse page(const HttpRequest& request);
    HttpResponse status(const HttpRequest& request);
    HttpResponse terminals(const HttpRequest& request);
    HttpResponse events(const HttpRequest& request);
    HttpResponse metrics(const HttpRequest& request);
    HttpResponse healthz(const HttpRequest& request);
    HttpResponse live(const HttpRequest& request);
    HttpResponse livez(const HttpRequest& request);
    HttpResponse prometheusTargets(const HttpRequest& request);
    // What the token given opens, for a page to check it before any command.
    HttpResponse tokenCheck(const HttpRequest& request);
    // Commands.
    HttpResponse test(const HttpRequest& request);
    HttpResponse synchronize(const HttpRequest& request);
    HttpResponse pause(const HttpRequest& request);
    HttpResponse reset(const HttpRequest& request);
    // Adds (POST) or edits (PUT to its number) a terminal through the editor's checks.
    HttpResponse putTerminal(const HttpRequest& request);
    HttpResponse removeTerminal(const HttpRequest& request);
    // After a list change: done, and whether Products.cfg has it (the Warning's text if not).
    HttpResponse listChanged(const std::string& entry);
    // The row of the terminal named by the path's last part: -1 when no row has it, nothing
    // when that part is not digits.
    std::optional<int> rowOfPath(const std::string& path);

    Gateway& gateway_;
    std::unique_ptr<HttpServerPort> server_;
    std::unique_ptr<TimerPort> pushTimer_;
    std::unique_ptr<TimerPort> refusalTimer_;
    std::string token_;
    std::string readToken_;  // empty unless asked for
    std::string address_;
    TerminalRows rows_;
    std::string lastPush_;
    std::string lastStatusKey_;
    long long statusVersion_ = 0;
    ConsoleCounts counts_;
    struct HeldRefusal {
        std::string what;
        const Refusal* why;
        HttpServerPort::Respond respond;
    };
    std::deque<HeldRefusal> refusals_;
};

}  // namespace plx
