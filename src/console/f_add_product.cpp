#include "console/f_add_product.h"

#include <cmath>

#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "shared/global.h"
#include "shared/numeric_text.h"

namespace plx {

namespace {

// The list entry's field separator can never be part of a field.
constexpr int kComma = ',';

void stripCommas(TextBox& field) {
    std::string text = field.text();
    if (text.find(kComma) == std::string::npos) return;
    std::erase(text, static_cast<char>(kComma));
    field.setText(text);
}

// The numbers the terminal tables can index; 0 is refused before this, without a message.
bool isTerminalNumber(double number) {
    return number >= 1 && number < kTerminalNumbers && number == std::floor(number);
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
    const double number = readLenientNumber(INP_NO.text());
    if (number == 0) {
        INP_NO.setFocus();
        return;
    }
    // Beyond 9999, below 1 or fractional, the terminal could never be found by its number.
    if (!isTerminalNumber(number)) {
        refuse("Error the terminal number must be a whole number from 1 to 9999");
        INP_NO.setFocus();
        return;
    }
    INP_IP.setText(trimSpaces(INP_IP.text()));

    ListBox& list = gateway_.main().LST_PRODUIT;
    const bool adding = SW_EDIT_SAVE_1.value();
    const int current = list.currentRow();
    if (adding && list.count() >= kMaxRows) {
        refuse("Error the terminal list is full (" + std::to_string(kMaxRows) + " terminals)");
        return;
    }
    if (!adding && current < 0) {  // nothing left to edit
        form.close();
        return;
    }
    for (int row = 0; row < list.count(); ++row) {
        if (!adding && row == current) continue;  // an edited entry may keep its own values
        const std::string& entry = list.text(row);
        const double other = readLenientNumber(EXTRACT_FIELD(entry, ",", 1));
        if (other == number) {
            refuse("Error this terminal number is already in use");
            return;
        }
        if (EXTRACT_FIELD(entry, ",", 3) == INP_IP.text()) {
            refuse("Error this IP address is already in use (Terminal:" +
                   fourDigits(std::llround(other)) + ")");
            return;
        }
    }

    const std::string entry = fourDigits(static_cast<long long>(number)) + ",," + INP_IP.text() +
                              "," + INP_DESCRIPTION.text();
    if (adding) {
        list.addItem(entry);
    } else {
        // Another number or address is another terminal: what the row's old one shows says
        // nothing of it.
        const std::string& before = list.text(current);
        if (readLenientNumber(EXTRACT_FIELD(before, ",", 1)) != number ||
            EXTRACT_FIELD(before, ",", 3) != INP_IP.text()) {
            gateway_.display().rowReplaced(current);
        }
        list.setText(current, entry);
    }
    gateway_.events().ADD_EVENTS(-1, "GENERAL",
                                 (adding ? "ADD PRODUCT: " : "EDIT PRODUCT: ") + entry, true);
    form.close();
}

void F_ADD_PRODUCT::refuse(const std::string& message) {
    gateway_.platform().messageBox(message, "Error !", MessageIcon::Critical);
}

void F_ADD_PRODUCT::B_CLOSE_Click() {
    form.close();
}

void F_ADD_PRODUCT::INP_DESCRIPTION_KeyPress(int& keyAscii) {
    if (keyAscii == kComma) keyAscii = 0;
}

void F_ADD_PRODUCT::INP_IP_KeyPress(int& keyAscii) {
    if (keyAscii == kComma) keyAscii = 0;
}

void F_ADD_PRODUCT::INP_DESCRIPTION_Change() {
    stripCommas(INP_DESCRIPTION);
}

void F_ADD_PRODUCT::INP_IP_Change() {
    stripCommas(INP_IP);
}

}  // namespace plx
