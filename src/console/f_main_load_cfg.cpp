// The start-up loader of the three configuration files and the products file writer.
#include "console/config_files.h"
#include "console/f_main.h"
#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "platform/system_text.h"
#include "shared/text_lines.h"

namespace plx {
namespace {

// The beginning of every Warning that the list on disk is not what the gateway holds.
const std::string kListNotWritten = kProductsFile + " could not be written";

// A configuration file's bytes; a file that is missing, empty or unreadable is told once, a
// Warning with what the gateway uses instead, so that a folder set up wrong is seen at the
// first start rather than at the first complaint from the plant.
std::optional<std::string> readConfiguration(Gateway& gateway, const std::string& name,
                                             const std::string& instead) {
    Files& files = gateway.platform().files();
    const std::string path = gateway.state().filePath(name);
    std::optional<std::string> bytes;
    std::string problem;
    if (!files.exists(path)) {
        problem = " is missing";
    } else if (bytes = files.read(path); !bytes) {
        problem = " cannot be read";
    } else if (bytes->empty()) {
        problem = " is empty";
    }
    if (!problem.empty())
        gateway.eventLog().ADD_EVENTS(-1, "Warning", name + problem + ": " + instead, true);
    return bytes;
}

}  // namespace

void F_MAIN::LOAD_CFG() {
    Files& files = gateway_.platform().files();
    const SharedState& state = gateway_.state();

    // Products: every line as read, validated by nobody; the rebuild says which it can index.
    LST_PRODUIT.clear();
    const auto products =
        readConfiguration(gateway_, kProductsFile, "the terminal list starts empty");
    if (products) {
        for (const auto& line : splitLines(*products)) LST_PRODUIT.addItem(line);
    }
    unreadListKept_ = !products && files.exists(state.filePath(kProductsFile));
    SYNC_TABLES();

    // Colours: created with the defaults when missing, then read. A folder where it can be
    // neither created nor read still gets the default colours, not blank patterns.
    F_AS400& as400 = gateway_.window<F_AS400>();
    const std::string colours = state.filePath(kColourFile);
    as400.LST_COLOR_PATERN.clear();
    as400.LST_COLOR_PATERN.setToolTip(pathText(colours));
    as400.Aff_ColorPatern.setToolTip(pathText(colours));
    std::string problem;
    if (!files.exists(colours) && !files.replace(colours, defaultColourFile())) {
        problem = " cannot be created";
    }
    std::optional<std::string> colourLines;
    if (problem.empty() && !(colourLines = files.read(colours))) problem = " cannot be read";
    if (!problem.empty()) {
        gateway_.eventLog().ADD_EVENTS(
            -1, "Warning", kColourFile + problem + ": the default colours are used", true);
        colourLines = defaultColourFile();
    }
    for (const std::string& line : readColourTable(gateway_.state().TAB_COLOR_PATERN, *colourLines))
        as400.LST_COLOR_PATERN.addItem(line);
    SYNC_TABLES();

    // Host settings: the lines present, in order; a missing file keeps the initial values.
    const auto host = readConfiguration(gateway_, kHostSettingsFile,
                                        "the host link uses " + as400.INP_IP.text() + ", port " +
                                            as400.INP_PORT.text() +
                                            ", and signs on with an empty user name and password");
    if (!host) return;
    const HostSettingsLines settings = readHostSettings(*host);
    TextBox* const fields[] = {&as400.INP_IP, &as400.INP_PORT, &as400.INP_PSW, &as400.INP_USR};
    for (std::size_t i = 0; i < settings.texts.size(); ++i) fields[i]->setText(settings.texts[i]);
    // A value the check box refuses is ignored.
    if (settings.logSwitch) as400.SW_LOG.setValue(*settings.logSwitch);
}

std::string F_MAIN::moveUnreadListAside() {
    Files& files = gateway_.platform().files();
    const SharedState& state = gateway_.state();
    EventLog& log = gateway_.eventLog();
    const std::string path = state.filePath(kProductsFile);
    unreadListKept_ = files.exists(path);
    if (!unreadListKept_) return {};  // gone meanwhile: nothing left to keep
    const std::string name = kProductsFile + ".unread-" + gateway_.platform().now().dateText();
    std::string aside = name;
    for (int n = 2; files.exists(state.filePath(aside)); ++n)
        aside = name + "-" + std::to_string(n);
    if (files.rename(path, state.filePath(aside))) {
        unreadListKept_ = false;
        log.ADD_EVENTS(-1, "Warning",
                       kProductsFile + " could not be read at start: it is kept as " + aside +
                           ", and the list is written in its place",
                       true);
        return {};
    }
    ++gateway_.state().STATS.listWriteFailures;
    const std::string warning = kListNotWritten +
                                ": the file that could not be read at start cannot be moved "
                                "aside to " +
                                aside;
    log.ADD_EVENTS(-1, "Warning", warning, true, EventKind::DataLost);
    return warning;
}

void F_MAIN::B_SAVE_CFG_Click() {
    saveList();
}

std::string F_MAIN::saveList() {
    // The list that could not be read stays where it was while the list is empty, so that
    // a start once it is readable again finds it; it is moved aside before terminals that
    // the operator gives are written in its place.
    if (unreadListKept_ && LST_PRODUIT.count() == 0) return {};
    if (unreadListKept_) {
        if (std::string warning = moveUnreadListAside(); !warning.empty()) return warning;
    }
    const std::string path = gateway_.state().filePath(kProductsFile);
    // Replaced atomically: a failed write leaves the previous list whole on disk.
    if (gateway_.platform().files().replace(path, entriesAsLines(LST_PRODUIT))) return {};
    ++gateway_.state().STATS.listWriteFailures;
    const std::string warning = kListNotWritten + ", the previous file is kept";
    gateway_.eventLog().ADD_EVENTS(-1, "Warning", warning, true, EventKind::DataLost);
    return warning;
}

}  // namespace plx
