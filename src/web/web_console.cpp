#include "web/web_console.h"

#include <string_view>

#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "platform/ipv4.h"
#include "platform/system_text.h"
#include "shared/shared_state.h"
#include "web/web_settings.h"
#include "web/web_views.h"

namespace plx {

struct WebConsole::Route {
    std::string_view method;
    std::string_view path;  // ending in "/": any one name below it
    Handler handler;
    bool command;
};

const WebConsole::Route WebConsole::kRoutes[] = {
    {"GET", "/", &WebConsole::page, false},
    {"GET", "/app.js", &WebConsole::page, false},
    {"GET", "/app.css", &WebConsole::page, false},
    {"GET", "/api/status", &WebConsole::status, false},
    {"GET", "/api/terminals", &WebConsole::terminals, false},
    {"GET", "/api/events", &WebConsole::events, false},
    {"GET", "/metrics", &WebConsole::metrics, false},
    {"GET", "/healthz", &WebConsole::healthz, false},
    {"GET", "/livez", &WebConsole::livez, false},
    {"GET", "/api/prometheus/targets", &WebConsole::prometheusTargets, false},
    {"GET", HttpServerPort::kLivePath, &WebConsole::liveWithoutUpgrade, false},
    {"POST", "/api/test", &WebConsole::test, true},
    {"POST", "/api/synchronize", &WebConsole::synchronize, true},
    {"POST", "/api/pause", &WebConsole::pause, true},
    {"POST", "/api/reset", &WebConsole::reset, true},
    {"POST", "/api/terminals", &WebConsole::putTerminal, true},
    {"PUT", "/api/terminals/", &WebConsole::putTerminal, true},
    {"DELETE", "/api/terminals/", &WebConsole::removeTerminal, true},
};

namespace {

bool matches(std::string_view pattern, std::string_view path) {
    if (pattern.size() > 1 && pattern.back() == '/') {
        return path.size() > pattern.size() && path.substr(0, pattern.size()) == pattern &&
               path.find('/', pattern.size()) == std::string_view::npos;
    }
    return pattern == path;
}

// "127.0.0.1:8400", "localhost:8400", "[::1]:8400": an address, not a name a site controls.
bool namesAnAddress(const std::string& host) {
    const std::string name = host.substr(0, host.rfind(':'));
    return name == "localhost" || name == "[::1]" || isDottedIPv4(name);
}

// Every answer goes with these: nothing from elsewhere, no framing by another site, nothing
// kept.
void sendSecured(const HttpServerPort::Respond& respond, HttpResponse response) {
    response.headers.emplace_back(
        "Content-Security-Policy",
        "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
        "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
    response.headers.emplace_back("X-Content-Type-Options", "nosniff");
    response.headers.emplace_back("Referrer-Policy", "no-referrer");
    response.headers.emplace_back("X-Frame-Options", "DENY");
    response.headers.emplace_back("Cache-Control", "no-store");
    respond(std::move(response));
}

}  // namespace

WebConsole::WebConsole(Gateway& gateway) : gateway_(gateway) {}

WebConsole::~WebConsole() = default;

void WebConsole::start() {
    Files& files = gateway_.platform().files();
    const SharedState& state = gateway_.state();
    const auto content = files.read(state.filePath(kWebConsoleFile));
    if (!content) return;  // off: nothing listens
    EventLog& log = gateway_.eventLog();
    const auto warn = [&log](const std::string& why) {
        log.ADD_EVENTS(-1, "Warning", "Web console not started: " + why, true);
    };
    const WebConsoleSettings settings = readWebConsoleSettings(*content);
    if (!settings.problem.empty()) return warn(kWebConsoleFile + " " + settings.problem);

    HttpListen where{settings.address, settings.port, {}, {}};
    const auto certificate = files.read(state.filePath(kWebCertificateFile));
    const auto key = files.read(state.filePath(kWebKeyFile));
    if (certificate && key) {
        where.certificatePem = *certificate;
        where.keyPem = *key;
    } else if (!isLoopbackAddress(settings.address)) {
        // The token and the page's commands would cross the network in clear.
        return warn("listening on " + settings.address + " needs TLS (" + kWebCertificateFile +
                    " and " + kWebKeyFile + " in the folder)");
    }
    server_ = gateway_.platform().createHttpServer();
    server_->onRequest = [this](const HttpRequest& request, HttpServerPort::Respond respond) {
        handle(request, std::move(respond));
    };
    if (const std::string problem = server_->listen(where); !problem.empty()) {
        server_.reset();
        return warn(settings.address + ":" + std::to_string(settings.port) + ": " + problem);
    }
    // Made once listening (no request is taken before this returns): the file says the
    // console is up.
    token_ = loadToken();
    address_ = (where.certificatePem.empty() ? "http://" : "https://") + settings.address + ":" +
               std::to_string(settings.port);
    log.ADD_EVENTS(-1, "GENERAL", "Web console on " + address_, true);

    pushTimer_ = gateway_.platform().createTimer();
    pushTimer_->onTimeout = [this] { push(); };
    pushTimer_->start(kPushPeriodMs);
    refusalTimer_ = gateway_.platform().createTimer();
    refusalTimer_->onTimeout = [this] { answerRefusals(); };
}

std::string WebConsole::loadToken() {
    Files& files = gateway_.platform().files();
    const std::string path = gateway_.state().filePath(kWebTokenFile);
    constexpr std::size_t kShortest = 32;  // characters; a shorter one is replaced
    if (const auto kept = files.read(path)) {
        std::string token = *kept;
        while (!token.empty() && (token.back() == '\n' || token.back() == '\r')) token.pop_back();
        if (token.size() >= kShortest) return token;
    }
    // 32 random bytes as 64 hexadecimal digits: any header and any shell carry them as they are.
    static constexpr char kHex[] = "0123456789abcdef";
    std::string token;
    for (const char byte : gateway_.platform().secureRandom(32)) {
        token += kHex[(static_cast<unsigned char>(byte) >> 4) & 0xF];
        token += kHex[static_cast<unsigned char>(byte) & 0xF];
    }
    if (!files.replace(path, token + "\n", Files::Access::OwnerOnly)) {
        gateway_.eventLog().ADD_EVENTS(
            -1, "Warning", "Web console: cannot write " + pathText(path) + ", no command is taken",
            true);
        return {};
    }
    return token;
}

void WebConsole::handle(const HttpRequest& request, HttpServerPort::Respond respond) {
    const Route* route = nullptr;
    std::string allowed;
    for (const Route& candidate : kRoutes) {
        if (!matches(candidate.path, request.path)) continue;
        if (candidate.method == request.method) route = &candidate;
        allowed += (allowed.empty() ? "" : ", ") + std::string(candidate.method);
    }
    if (!route) {
        if (allowed.empty()) return sendSecured(respond, errorResponse(404, "No such page"));
        HttpResponse notAllowed = errorResponse(405, "Method not allowed");
        notAllowed.headers.emplace_back("Allow", allowed);
        return sendSecured(respond, std::move(notAllowed));
    }
    // Monitoring tools send a token as a bearer's.
    const std::string bearer = request.header("authorization");
    const bool tokenGiven = sameSecret(
        bearer.rfind("Bearer ", 0) == 0 ? bearer.substr(7) : request.header(kTokenHeader), token_);
    // Open reading is for this machine's own pages: a host name other than localhost could
    // be another site's, rebound to 127.0.0.1 to read through the visitor's browser.
    const bool ownMachine =
        isLoopbackAddress(request.peer) && namesAnAddress(request.header("host"));
    if ((route->command || !ownMachine) && !tokenGiven) return refuse(request, std::move(respond));
    if (request.body.size() > kMaxBodyBytes)
        return sendSecured(respond, errorResponse(413, "Request too large"));
    if (!route->command) return sendSecured(respond, (this->*(route->handler))(request));
    whenNotDispatching([this, route, request, respond = std::move(respond)] {
        sendSecured(respond, (this->*(route->handler))(request));
    });
}

void WebConsole::whenNotDispatching(std::function<void()> command) {
    if (!gateway_.dispatching()) return command();
    gateway_.platform().post(
        [this, command = std::move(command)]() mutable { whenNotDispatching(std::move(command)); });
}

void WebConsole::refuse(const HttpRequest& request, HttpServerPort::Respond respond) {
    const std::string what = request.method + " " + request.path + " from " + request.peer;
    if (refusals_.size() >= kMaxHeldRefusals) {
        // Held answers are bounded: beyond them the refusal goes out at once.
        return sendSecured(respond,
                           errorResponse(503, "Too many refused requests, try again later"));
    }
    if (refusals_.empty()) refusalTimer_->start(kRefusalDelayMs);
    refusals_.push_back({what, std::move(respond)});
}

void WebConsole::answerRefusals() {
    refusalTimer_->stop();
    if (refusals_.empty()) return;
    const std::string more = refusals_.size() > 1 ? " (" + std::to_string(refusals_.size()) +
                                                        " requests refused in the last second)"
                                                  : std::string();
    gateway_.eventLog().ADD_EVENTS(
        -1, "Warning",
        "Web console: wrong or missing token, refused " + refusals_.front().what + more, true);
    std::deque<HeldRefusal> due;
    due.swap(refusals_);
    for (HeldRefusal& held : due) {
        sendSecured(held.respond, errorResponse(401, "A valid X-Console-Token header is needed"));
    }
}

void WebConsole::push() {
    if (server_->streamCount() == 0) return;
    rows_.refresh(gateway_);
    // Only what changed, never what the state is: the pages read that through the API,
    // under its access rule.
    if (const std::string key = statusKey(gateway_); key != lastStatusKey_) {
        lastStatusKey_ = key;
        ++statusVersion_;
    }
    const std::string message = "{\"status\":" + std::to_string(statusVersion_) +
                                ",\"terminals\":" + std::to_string(rows_.version()) +
                                ",\"events\":" + std::to_string(gateway_.eventLog().linesShown()) +
                                "}";
    if (message == lastPush_) return;
    lastPush_ = message;
    server_->broadcast(message);
}

}  // namespace plx
