// The web console's requests, whatever they hold, on a gateway with its console on: each is
// answered once, with the console's headers; no answer shows the host password; no event line
// holds a line break; every entry of the list stays one line of Products.cfg.
//
// Input: up to four requests, each chosen from the bytes: the peer and the token or not, the
// method and route (or raw text), a path suffix, the Host and Origin, whether it asks for the
// live stream, and a body.
#include <string>

#include "console/config_files.h"
#include "eventlog/f_events.h"
#include "fuzz_gateway.h"
#include "shared/text_lines.h"
#include "web/web_console.h"
#include "web/web_settings.h"

namespace {

const char* const kMethods[] = {"GET", "HEAD", "POST", "PUT", "DELETE", "OPTIONS"};
const char* const kPaths[] = {
    "/",          "/app.js",    "/api/status",     "/api/terminals", "/api/events",
    "/metrics",   "/healthz",   "/live",           "/api/test",      "/api/synchronize",
    "/api/pause", "/api/reset", "/api/terminals/", "/api/token"};
const char* const kHosts[] = {"127.0.0.1:8400", "localhost:8400", "rebound.example:8400", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    plx::fuzz::OnlineGateway online({"0001,,127.0.10.1,Line 1", "0002,,127.0.10.2,Line 2"});
    plx::fake::FakePlatform& platform = online.platform;
    plx::F_AS400& host = online.gateway.window<plx::F_AS400>();
    host.INP_PSW.setText("FUZZSECRET");
    online.gateway.window<plx::F_MAIN>().B_SAVE_CFG_Click();
    FUZZ_CHECK(platform.files().replace(platform.folder() + "/" + plx::kWebConsoleFile, ""));
    plx::WebConsole console{online.gateway};
    console.start();
    FUZZ_CHECK(platform.http != nullptr);
    const std::string token =
        platform.files().read(platform.folder() + "/" + plx::kWebTokenFile)->substr(0, 64);

    for (int i = 0; i < 4 && input.remaining_bytes() > 0; ++i) {
        plx::HttpRequest request;
        request.peer = input.ConsumeBool() ? "127.0.0.1" : "198.18.0.7";
        request.method = input.ConsumeBool() ? input.PickValueInArray(kMethods)
                                             : input.ConsumeRandomLengthString(8);
        request.path =
            std::string(input.PickValueInArray(kPaths)) + input.ConsumeRandomLengthString(12);
        request.query = input.ConsumeRandomLengthString(16);
        request.headers = {{"host", input.PickValueInArray(kHosts)}};
        if (input.ConsumeBool()) request.headers.emplace_back("x-console-token", token);
        if (input.ConsumeBool()) {
            request.headers.emplace_back("upgrade", "websocket");
            request.headers.emplace_back("origin", input.ConsumeRandomLengthString(24));
        }
        request.body = input.ConsumeRandomLengthString(512);
        platform.http->request(request);
        platform.runEvents();
        if (!*platform.http->answers.back()) platform.advance(plx::WebConsole::kRefusalDelayMs);
        const auto& answer = *platform.http->answers.back();
        FUZZ_CHECK(answer.has_value());
        FUZZ_CHECK(answer->body.find("FUZZSECRET") == std::string::npos);
        bool secured = false;
        for (const auto& [name, value] : answer->headers)
            secured |= name == "Content-Security-Policy";
        FUZZ_CHECK(secured);
    }

    const plx::ListBox& events = online.gateway.window<plx::F_EVENTS>().LST_EVENTS;
    for (int row = 0; row < events.count(); ++row)
        FUZZ_CHECK(events.text(row).find_first_of("\r\n") == std::string::npos);
    const plx::ListBox& list = online.gateway.window<plx::F_MAIN>().LST_PRODUIT;
    const auto saved = platform.files().read(platform.folder() + "/" + plx::kProductsFile);
    FUZZ_CHECK(saved && plx::splitLines(*saved) == list.texts());
    return 0;
}
