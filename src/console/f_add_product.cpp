#include "console/f_add_product.h"

#include "console/f_main.h"
#include "console/terminal_entry.h"
#include "gateway/gateway.h"
#include "shared/list_entry.h"
#include "shared/numeric_text.h"

namespace plx {

namespace {

// What the operator types or pastes enters the field as the entry will take it.
void takeOutSeparator(TextBox& field) {
    std::string text = withoutSeparator(field.text());
    if (text != field.text()) field.setText(text);
}

// Design measures in twips: labels right-aligned against the fields, in the visual order
// number, IP address, type, description.
constexpr int kLabelLeft = 120;
constexpr int kLabelWidth = 2595;
constexpr int kFieldLeft = 2835;
constexpr int kFieldHeight = 315;
constexpr int kRowPitch = 450;
constexpr int kFirstRow = 240;

int rowTop(int row) {
    return kFirstRow + row * kRowPitch;
}

}  // namespace

F_ADD_PRODUCT::F_ADD_PRODUCT(Gateway& gateway)
    : form("F_ADD_PRODUCT", "", 6000, 3600),
      LBL_NO(form, "LBL_NO", "Product Number (0001 - 1000):"),
      INP_NO(form, "INP_NO"),
      LBL_IP(form, "LBL_IP", "IP Address:"),
      INP_IP(form, "INP_IP"),
      LBL_TYPE(form, "LBL_TYPE", "Type:"),
      INP_TYPE(form, "INP_TYPE"),
      LBL_DESCRIPTION(form, "LBL_DESCRIPTION", "Description:"),
      INP_DESCRIPTION(form, "INP_DESCRIPTION"),
      B_OK(form, "B_OK"),
      B_CLOSE(form, "B_CLOSE", "&CANCEL"),
      SW_EDIT_SAVE_0(form, "SW_EDIT_SAVE", 0, "SAVE"),
      SW_EDIT_SAVE_1(form, "SW_EDIT_SAVE", 1, "ADD"),
      PIC_DECORATION(form, "PIC_DECORATION", "terminal"),
      gateway_(gateway) {
    struct Row {
        Label& label;
        TextBox& field;
        int width;
    };
    const Row rows[] = {{LBL_NO, INP_NO, 1095},
                        {LBL_IP, INP_IP, 2055},
                        {LBL_TYPE, INP_TYPE, 2055},
                        {LBL_DESCRIPTION, INP_DESCRIPTION, 2895}};
    for (int i = 0; i < 4; ++i) {
        rows[i].label.move(kLabelLeft, rowTop(i) + 30, kLabelWidth, 255);
        rows[i].label.setRightAligned(true);
        rows[i].field.move(kFieldLeft, rowTop(i), rows[i].width, kFieldHeight);
    }
    INP_TYPE.setVisible(false);
    INP_TYPE.setEnabled(false);
    PIC_DECORATION.move(kLabelLeft, 2160, 615, 615);
    B_OK.move(3015, 2355, 1275, 435);
    B_CLOSE.move(4455, 2355, 1275, 435);
    B_OK.setDefault(true);    // Enter confirms
    B_CLOSE.setCancel(true);  // Esc cancels
    SW_EDIT_SAVE_0.move(kLabelLeft, 2880, 975, 255);
    SW_EDIT_SAVE_1.move(1215, 2880, 975, 255);
    SW_EDIT_SAVE_0.setVisible(false);
    SW_EDIT_SAVE_1.setVisible(false);

    SW_EDIT_SAVE_0.onClick = [this] { SW_EDIT_SAVE_Click(0); };
    SW_EDIT_SAVE_1.onClick = [this] { SW_EDIT_SAVE_Click(1); };
    B_OK.onClick = [this] { B_OK_Click(); };
    B_CLOSE.onClick = [this] { B_CLOSE_Click(); };
    INP_IP.onKeyPress = [this](int& key) { INP_IP_KeyPress(key); };
    INP_DESCRIPTION.onKeyPress = [this](int& key) { INP_DESCRIPTION_KeyPress(key); };
    INP_IP.onChange = [this] { INP_IP_Change(); };
    INP_DESCRIPTION.onChange = [this] { INP_DESCRIPTION_Change(); };
}

void F_ADD_PRODUCT::SW_EDIT_SAVE_Click(int index) {
    // The pair acts as one choice: selecting one clears the other.
    SW_EDIT_SAVE(index == 1 ? 0 : 1).setValue(false);
    const bool adding = index == 1;
    B_OK.setCaption(adding ? "ADD" : "EDIT");
    form.setCaption(adding ? "Add product" : "Edit product");
}

void F_ADD_PRODUCT::B_OK_Click() {
    F_MAIN& main = gateway_.window<F_MAIN>();
    const bool adding = SW_EDIT_SAVE_1.value();
    const int edited = adding ? -1 : main.LST_PRODUIT.currentRow();
    // The row being edited was removed meanwhile (from the web console): the edit must not
    // become an addition, nor close as if it had been made.
    if (!adding && edited < 0) {
        gateway_.platform().messageBox("Error the terminal being edited is no longer in the list",
                                       "Error !", MessageIcon::Critical);
        form.close();
        return;
    }
    const TerminalEntryCheck check =
        main.storeTerminal(edited, {INP_NO.text(), INP_IP.text(), INP_DESCRIPTION.text()}, {});
    // Once the number has passed, the operator sees the address as it was checked.
    if (!check.numberRefused) INP_IP.setText(trimSpaces(INP_IP.text()));
    if (!check.accepted) {
        if (!check.message.empty())
            gateway_.platform().messageBox(check.message, "Error !", MessageIcon::Critical);
        if (check.numberRefused) INP_NO.setFocus();
        return;
    }
    form.close();
}

void F_ADD_PRODUCT::B_CLOSE_Click() {
    form.close();
}

void F_ADD_PRODUCT::INP_DESCRIPTION_KeyPress(int& keyAscii) {
    if (keyAscii == ListEntry::kSeparator) keyAscii = 0;
}

void F_ADD_PRODUCT::INP_IP_KeyPress(int& keyAscii) {
    if (keyAscii == ListEntry::kSeparator) keyAscii = 0;
}

void F_ADD_PRODUCT::INP_DESCRIPTION_Change() {
    takeOutSeparator(INP_DESCRIPTION);
}

void F_ADD_PRODUCT::INP_IP_Change() {
    takeOutSeparator(INP_IP);
}

}  // namespace plx
