// The start-up loader of the three configuration files and the products file writer.
#include "console/config_files.h"
#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "eventlog/journal_priority.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "shared/text_lines.h"

namespace plx {

void F_MAIN::LOAD_CFG() {
    Files& files = gateway_.platform().files();
    const SharedState& state = gateway_.state();

    // Products: every line as read, validated by nobody; the rebuild says which it can index.
    LST_PRODUIT.clear();
    const std::string products = state.filePath(kProductsFile);
    if (files.exists(products)) {
        if (const auto bytes = files.read(products)) {
            for (const auto& line : splitLines(*bytes)) LST_PRODUIT.addItem(line);
        }
    }
    SYNC_TABLES();

    // Colours: created with the defaults when missing, then read.
    F_AS400& as400 = gateway_.as400();
    const std::string colours = state.filePath(kColourFile);
    as400.LST_COLOR_PATERN.clear();
    as400.LST_COLOR_PATERN.setToolTip(colours);
    as400.Aff_ColorPatern.setToolTip(colours);
    if (!files.exists(colours)) files.replace(colours, defaultColourFile());
    if (files.exists(colours)) {
        as400.LST_COLOR_PATERN.clear();
        if (const auto bytes = files.read(colours)) {
            auto& patterns = gateway_.state().TAB_COLOR_PATERN;
            for (const auto& line : splitLines(*bytes)) {
                auto colour = parseColourLine(line);
                if (!colour) continue;
                as400.LST_COLOR_PATERN.addItem(line);
                if (colour->index <= kColourEntries - 1) {
                    patterns[colour->index] = std::move(colour->pattern);
                }
            }
        }
    }
    SYNC_TABLES();

    // Host settings: the lines present, in order; a missing file keeps the initial values.
    const std::string host = state.filePath(kHostSettingsFile);
    if (!files.exists(host)) return;
    const auto bytes = files.read(host);
    if (!bytes) return;
    const HostSettingsLines settings = readHostSettings(*bytes);
    TextBox* const fields[] = {&as400.INP_IP, &as400.INP_PORT, &as400.INP_PSW, &as400.INP_USR};
    for (std::size_t i = 0; i < settings.texts.size(); ++i) fields[i]->setText(settings.texts[i]);
    // A value the check box refuses is ignored.
    if (settings.logSwitch) as400.SW_LOG.setValue(*settings.logSwitch);
}

void F_MAIN::B_SAVE_CFG_Click() {
    const std::string path = gateway_.state().filePath(kProductsFile);
    // Replaced atomically: a failed write leaves the previous list whole on disk.
    if (!gateway_.platform().files().replace(path, entriesAsLines(LST_PRODUIT))) {
        gateway_.events().ADD_EVENTS(-1, "Warning", kListNotWritten + ", the previous file is kept",
                                     true);
    }
}

}  // namespace plx
