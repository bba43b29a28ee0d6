#pragma once
// The web console: the workstation's console in a browser, for a gateway without a screen.
// It sits above the windows: it reads what they hold and calls the procedures their buttons
// call, so a command from the web does what the button does and logs it the same way, ending
// with "from the web console (address)". Off unless WebConsole.cfg is in the folder.
//
// Access: reading (the page, the API, /metrics, /healthz) is open to loopback peers; any other
// peer, and every command, needs the token of WebConsole.token in the X-Console-Token header
// (a header, never a cookie: another site's page cannot send it). A refused request is
// answered after a delay, and logged at most once per delay.

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "web/terminal_rows.h"

namespace plx {

class Gateway;

class WebConsole {
  public:
    static constexpr int kPushPeriodMs = 250;     // a change reaches the pages within this
    static constexpr int kRefusalDelayMs = 1000;  // before a refused request is answered
    static constexpr std::size_t kMaxHeldRefusals = 64;
    static constexpr std::size_t kMaxBodyBytes = 16 * 1024;  // a command's JSON
    static constexpr const char* kTokenHeader = "x-console-token";

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
    struct Route;
    static const Route kRoutes[];

    std::string loadToken();
    void handle(const HttpRequest& request, HttpServerPort::Respond respond);
    void refuse(const HttpRequest& request, HttpServerPort::Respond respond);
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
    HttpResponse livez(const HttpRequest& request);
    HttpResponse prometheusTargets(const HttpRequest& request);
    HttpResponse liveWithoutUpgrade(const HttpRequest& request);
    // Commands.
    HttpResponse test(const HttpRequest& request);
    HttpResponse synchronize(const HttpRequest& request);
    HttpResponse pause(const HttpRequest& request);
    HttpResponse reset(const HttpRequest& request);
    // Adds (POST) or edits (PUT to its number) a terminal through the editor's checks.
    HttpResponse putTerminal(const HttpRequest& request);
    HttpResponse removeTerminal(const HttpRequest& request);
    // The row of the terminal named by the path's last part; -1 when none.
    int rowOfPath(const std::string& path);

    Gateway& gateway_;
    std::unique_ptr<HttpServerPort> server_;
    std::unique_ptr<TimerPort> pushTimer_;
    std::unique_ptr<TimerPort> refusalTimer_;
    std::string token_;
    std::string address_;
    TerminalRows rows_;
    std::string lastPush_;
    std::string lastStatusKey_;
    long long statusVersion_ = 0;
    struct HeldRefusal {
        std::string what;
        HttpServerPort::Respond respond;
    };
    std::deque<HeldRefusal> refusals_;
};

}  // namespace plx
