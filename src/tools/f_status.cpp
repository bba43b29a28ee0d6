#include "tools/f_status.h"

#include "console/f_main.h"
#include "gateway/gateway.h"
#include "shared/numeric_text.h"
#include "shared/shared_state.h"

namespace plx {

std::string statusLine(std::int32_t number, const std::string& value) {
    return fourDigits(number) + "," + value;
}

F_STATUS::F_STATUS(Gateway& gateway)
    : form("F_STATUS", "Mervax Products Status", 8415, 8085),
      LST_STATUS(form, "LST_STATUS"),
      B_REFRESH(form, "B_REFRESH", "Refresh"),
      gateway_(gateway) {
    // Design positions; the list's size and the button's place follow the window.
    LST_STATUS.move(120, 120, 0, 0);
    B_REFRESH.move(0, 0, 1215, 375);
    Form_Resize();

    B_REFRESH.onClick = [this] { B_REFRESH_Click(); };
    LST_STATUS.onDblClick = [this] { LST_STATUS_DblClick(); };
    form.onResize = [this] { Form_Resize(); };
}

void F_STATUS::Form_Load() {
    rebuild();
}
void F_STATUS::B_REFRESH_Click() {
    rebuild();
}
void F_STATUS::LST_STATUS_DblClick() {
    rebuild();
}

void F_STATUS::rebuild() {
    const ListBox& products = gateway_.window<F_MAIN>().LST_PRODUIT;
    const auto& values = gateway_.state().TAB_AFF_VALUE;
    LST_STATUS.clear();
    // Rows past the memory's last one are still listed, with nothing remembered for them,
    // so that no terminal of the list goes missing from the window.
    for (int row = 0; row < products.count(); ++row) {
        const bool remembered = row < static_cast<int>(values.size());
        LST_STATUS.addItem(statusLine(products.itemData(row), remembered ? values[row] : ""));
    }
}

}  // namespace plx
