#include "web/web_console.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "platform/ipv4.h"
#include "platform/system_text.h"
#include "shared/global.h"
#include "shared/numeric_text.h"
#include "shared/shared_state.h"
#include "web/web_settings.h"
#include "web/web_views.h"

namespace plx {

// Every route, in one place.
const WebConsole::Route WebConsole::kRoutes[] = {
    {"GET", "/", &WebConsole::page, Access::Page},
    {"GET", "/app.js", &WebConsole::page, Access::Page},
    {"GET", "/app.css", &WebConsole::page, Access::Page},
    {"GET", "/api/status", &WebConsole::status, Access::Read},
    {"GET", "/api/terminals", &WebConsole::terminals, Access::Read},
    {"GET", "/api/events", &WebConsole::events, Access::Read},
    {"GET", "/metrics", &WebConsole::metrics, Access::Read},
    {"GET", "/healthz", &WebConsole::healthz, Access::Read},
    {"GET", "/livez", &WebConsole::livez, Access::Read},
    {"GET", "/api/prometheus/targets", &WebConsole::prometheusTargets, Access::Read},
    {"GET", "/live", &WebConsole::live, Access::Read},
    {"GET", "/api/token", &WebConsole::tokenCheck, Access::Check},
    {"POST", "/api/test", &WebConsole::test, Access::Command},
    {"POST", "/api/synchronize", &WebConsole::synchronize, Access::Command},
    {"POST", "/api/pause", &WebConsole::pause, Access::Command},
    {"POST", "/api/reset", &WebConsole::reset, Access::Command},
    {"POST", "/api/terminals", &WebConsole::putTerminal, Access::Command},
    {"PUT", "/api/terminals/", &WebConsole::putTerminal, Access::Command},
    {"DELETE", "/api/terminals/", &WebConsole::removeTerminal, Access::Command},
};

// Why a request is refused: its answer's status and words, its count's reason, and what the
// log says of it.
struct WebConsole::Refusal {
    int status;
    const char* reason;
    const char* logged;
    const char* answer;
};

const WebConsole::Refusal WebConsole::kNoToken{
    401, "token", "wrong or missing token",
    "This needs the gateway's token: it is in WebConsole.token in the gateway's folder"};
const WebConsole::Refusal WebConsole::kWrongToken{
    401, "token", "wrong or missing token",
    "This token is not the gateway's: it is in WebConsole.token in the gateway's folder"};
const WebConsole::Refusal WebConsole::kReadOnly{
    403, "read_only", "the read-only token gives no command",
    "This is the read-only token (WebConsole.read-token): it lets you read, not give commands; "
    "commands need the token in WebConsole.token in the gateway's folder"};

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

bool holdsControlCharacters(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The token as the request gives it: as a bearer's (the scheme named in any case, as HTTP
// has it), in our header, or as the subprotocol a page's WebSocket offers.
std::string tokenOf(const HttpRequest& request, const std::vector<std::string>& protocols) {
    const std::string authorization = request.header("authorization");
    if (lowerCase(authorization.substr(0, 7)) == "bearer ")
        return trimSpaces(authorization.substr(7));
    if (std::string token = request.header(WebConsole::kTokenHeader); !token.empty()) return token;
    for (const std::string& protocol : protocols) {
        if (protocol.rfind(WebConsole::kTokenProtocol, 0) == 0)
            return protocol.substr(WebConsole::kTokenProtocol.size());
    }
    return {};
}

}  // namespace

WebConsole::WebConsole(Gateway& gateway) : gateway_(gateway) {}

std::vector<std::string> WebConsole::offeredProtocols(const HttpRequest& request) {
    const std::string offered = request.header("sec-websocket-protocol");
    std::vector<std::string> protocols;
    for (std::size_t at = 0; at < offered.size();) {
        const std::size_t end = std::min(offered.find(',', at), offered.size());
        protocols.push_back(trimSpaces(offered.substr(at, end - at)));
        at = end + 1;
    }
    return protocols;
}

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
    token_ = loadToken(kWebTokenFile, "no command is taken");
    if (settings.readToken)
        readToken_ = loadToken(kWebReadTokenFile, "reading from elsewhere needs " + kWebTokenFile);
    address_ = (where.certificatePem.empty() ? "http://" : "https://") + settings.address + ":" +
               std::to_string(settings.port);
    log.ADD_EVENTS(-1, "GENERAL", "Web console on " + address_, true);

    pushTimer_ = gateway_.platform().createTimer();
    pushTimer_->onTimeout = [this] { push(); };
    pushTimer_->start(kPushPeriodMs);
    refusalTimer_ = gateway_.platform().createTimer();
    refusalTimer_->onTimeout = [this] { answerRefusals(); };
}

std::string WebConsole::loadToken(const std::string& file, const std::string& without) {
    Files& files = gateway_.platform().files();
    const std::string path = gateway_.state().filePath(file);
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
            -1, "Warning", "Web console: cannot write " + pathText(path) + ", " + without, true);
        return {};
    }
    return token;
}

void WebConsole::handle(const HttpRequest& request, HttpServerPort::Respond respond) {
    // Nothing of a request may start a line of its own where it is written down.
    if (holdsControlCharacters(request.method) || holdsControlCharacters(request.path) ||
        holdsControlCharacters(request.query)) {
        ++counts_.refusals["control_characters"];
        return send(respond, errorResponse(400, "Control characters in the request"));
    }
    const std::string method = request.method == "HEAD" ? "GET" : request.method;
    const Route* route = nullptr;
    std::string allowed;
    for (const Route& candidate : kRoutes) {
        if (!matches(candidate.pattern, request.path)) continue;
        if (candidate.method == method) route = &candidate;
        allowed += (allowed.empty() ? "" : ", ") + std::string(candidate.method) +
                   (candidate.method == "GET" ? ", HEAD" : "");
    }
    if (!route) {
        if (allowed.empty()) return send(respond, errorResponse(404, "No such page"));
        HttpResponse notAllowed = errorResponse(405, "Method not allowed");
        notAllowed.headers.emplace_back("Allow", allowed);
        return send(respond, std::move(notAllowed));
    }
    const std::string token = tokenOf(request, offeredProtocols(request));
    const Grant grant = grantOf(token);
    // Open reading is for this machine's own pages: a host name other than localhost could
    // be another site's, rebound to 127.0.0.1 to read through the visitor's browser.
    const bool ownMachine =
        isLoopbackAddress(request.peer) && namesAnAddress(request.header("host"));
    const bool permitted =
        grant == Grant::Command || route->access == Access::Page ||
        (route->access == Access::Read && (ownMachine || grant == Grant::Read)) ||
        (route->access == Access::Check && grant == Grant::Read);
    if (!permitted) {
        return refuse(request, std::move(respond),
                      grant == Grant::Read ? kReadOnly
                      : token.empty()      ? kNoToken
                                           : kWrongToken);
    }
    if (route->access != Access::Command) return send(respond, (this->*(route->handler))(request));
    whenNotDispatching([this, route, request, respond = std::move(respond)] {
        send(respond, (this->*(route->handler))(request));
    });
}

// Every answer goes with these: nothing from elsewhere, no framing by another site, nothing
// kept; over TLS, never in clear again.
void WebConsole::send(const HttpServerPort::Respond& respond, HttpResponse response) {
    ++counts_.answers[response.status];
    response.headers.emplace_back(
        "Content-Security-Policy",
        "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
        "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
    response.headers.emplace_back("X-Content-Type-Options", "nosniff");
    response.headers.emplace_back("Referrer-Policy", "no-referrer");
    response.headers.emplace_back("X-Frame-Options", "DENY");
    response.headers.emplace_back("Cache-Control", "no-store");
    if (address_.rfind("https:", 0) == 0)
        response.headers.emplace_back("Strict-Transport-Security", "max-age=31536000");
    respond(std::move(response));
}

void WebConsole::whenNotDispatching(std::function<void()> command) {
    if (!gateway_.dispatching()) return command();
    gateway_.platform().post(
        [this, command = std::move(command)]() mutable { whenNotDispatching(std::move(command)); });
}

WebConsole::Grant WebConsole::grantOf(const std::string& token) const {
    if (sameSecret(token, token_)) return Grant::Command;
    return sameSecret(token, readToken_) ? Grant::Read : Grant::None;
}

HttpResponse WebConsole::tokenCheck(const HttpRequest& request) {
    const bool command = grantOf(tokenOf(request, offeredProtocols(request))) == Grant::Command;
    return jsonResponse(command ? "{\"access\":\"command\"}" : "{\"access\":\"read\"}");
}

void WebConsole::refuse(const HttpRequest& request, HttpServerPort::Respond respond,
                        const Refusal& why) {
    ++counts_.refusals[why.reason];
    const std::string what = ESCAPE_CTRL_CHARS(request.method + " " + request.path) + " from " +
                             ESCAPE_CTRL_CHARS(request.peer);
    if (refusals_.size() >= kMaxHeldRefusals) {
        // Held answers are bounded: beyond them the refusal goes out at once.
        return send(respond, errorResponse(503, "Too many refused requests, try again later"));
    }
    if (refusals_.empty()) refusalTimer_->start(kRefusalDelayMs);
    refusals_.push_back({what, &why, std::move(respond)});
}

void WebConsole::answerRefusals() {
    refusalTimer_->stop();
    if (refusals_.empty()) return;
    const std::string more = refusals_.size() > 1 ? " (" + std::to_string(refusals_.size()) +
                                                        " requests refused in the last second)"
                                                  : std::string();
    gateway_.eventLog().ADD_EVENTS(-1, "Warning",
                                   std::string("Web console: ") + refusals_.front().why->logged +
                                       ", refused " + refusals_.front().what + more,
                                   true);
    std::deque<HeldRefusal> due;
    due.swap(refusals_);
    for (HeldRefusal& held : due)
        send(held.respond, errorResponse(held.why->status, held.why->answer));
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
