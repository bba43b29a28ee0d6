// Synchronize: forget what every terminal shows and put four dashes on each listed one.
#include <string>

#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "shared/numeric_text.h"

namespace plx {

void F_MAIN::B_SYNCHRONIZE_Click() {
    for (std::string& shown : gateway_.state().TAB_AFF_VALUE) shown.clear();
    // Each terminal by its own number; the count is read anew for each row, as the list
    // may change while a send lets events run.
    for (int row = 0; row < LST_PRODUIT.count(); ++row) {
        gateway_.as400().GEST_CMD(fourDigits(LST_PRODUIT.itemData(row)) + "----0");
    }
    gateway_.events().ADD_EVENTS(-1, "GENERAL", "Synchronize all products", true);
}

}  // namespace plx
