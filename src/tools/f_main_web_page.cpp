// The main window's web page group: produce the page from its template, then follow the link
// to it as a left click on the link would.

#include <string>

#include "console/f_main.h"
#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "platform/system_text.h"
#include "tools/web_page.h"

namespace plx {
namespace {

enum class Generation { Written, NoTemplate, NotWritten };

std::string eventLines(const EventLog& events) {
    std::string lines;
    for (int i = 0; i < events.count(); ++i) lines += events.line(i) + "\r\n";
    return lines;
}

Generation generateWebPage(Gateway& gateway, F_MAIN& main) {
    Files& files = gateway.platform().files();
    const std::string templateName = webPageTemplateName(main.INP_WEBPAGE.text());
    const std::string outputName = webPageOutputName(templateName);
    // The names are the operator's text; the files are reached by the paths they give.
    const std::string templatePath = textPath(templateName);
    if (!files.exists(templatePath)) return Generation::NoTemplate;
    const auto templateText = files.read(templatePath);
    if (!templateText) return Generation::NoTemplate;

    F_AS400& host = gateway.window<F_AS400>();
    const LocalTime now = gateway.platform().now();
    const WebPageValues values{gateway.state(),        main.PIC_OFFLINE.tag(),
                               host.INP_IP.text(),     host.INP_PORT.text(),
                               host.INP_USR.text(),    host.INP_PSW.text(),
                               host.AFF_RX_400.text(), eventLines(gateway.eventLog()),
                               now.timeText(),         now.dateText()};
    // Replaced whole: a page that cannot be written leaves the previous one as it was.
    if (!files.replace(textPath(outputName), fillWebPage(*templateText, values))) {
        return Generation::NotWritten;
    }
    main.URL_WEBPAGE.setURL(outputName);
    return Generation::Written;
}

}  // namespace

void F_MAIN::B_OPEN_WEBP_Click() {
    if (generateWebPage(gateway_, *this) == Generation::NotWritten) {
        // Opening the link now would show a page that does not hold these values.
        gateway_.platform().messageBox(
            "The web page \"" + webPageOutputName(INP_WEBPAGE.text()) + "\" could not be written.",
            "Error !", MessageIcon::Critical);
        return;
    }
    URL_WEBPAGE.lblURL_MouseDown(1, 1, 1, 1);
}

}  // namespace plx
