#include "tools/url_link.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace plx {
namespace {

const std::string kTextKey = "Text";
const std::string kUrlKey = "URL";
const std::string kShowToolTipKey = "ShowToolTip";

bool sameKey(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

const std::string* findKey(const URLLink::PropertyBag& bag, const std::string& key) {
    for (const auto& [name, value] : bag) {
        if (sameKey(name, key)) return &value;
    }
    return nullptr;
}

void eraseKey(URLLink::PropertyBag& bag, const std::string& key) {
    std::erase_if(bag, [&](const auto& entry) { return sameKey(entry.first, key); });
}

// A saved Boolean: "True"/"False" in any case, or the numbers -1/1 and 0.
std::optional<bool> readBoolean(const std::string& text) {
    if (sameKey(text, "True") || text == "-1" || text == "1") return true;
    if (sameKey(text, "False") || text == "0") return false;
    return std::nullopt;
}

}  // namespace

URLLink::URLLink(Form& form, std::string name, Platform& platform)
    : LinkLabel(form, std::move(name)), platform_(platform) {
    onMouseDown = [this](int button) { lblURL_MouseDown(button, 0, 0, 0); };
}

void URLLink::setURL(const std::string& url) {
    url_ = url;
    refreshToolTip();
    changed();
}

void URLLink::setShowToolTip(bool show) {
    showToolTip_ = show;
    refreshToolTip();
    changed();
}

void URLLink::refreshToolTip() {
    setToolTip(showToolTip_ ? url_ : std::string());
}

void URLLink::lblURL_MouseDown(int Button, int, float, float) {
    if ((Button & 1) == 0) {
        platform_.setBusyCursor(false);
        return;
    }
    std::string address = url_;
    bool cancel = false;
    if (GoToURL) GoToURL(address, cancel);
    // Nothing to open is not a failure to report.
    if (cancel || address.empty()) return;
    platform_.setBusyCursor(true);
    // The desktop's answer is not examined: an address it cannot open shows no message.
    platform_.openWithDesktop(address);
    platform_.setBusyCursor(false);
}

void URLLink::UserControl_InitProperties() {
    setText({});
    url_.clear();
    setShowToolTip(false);
}

void URLLink::UserControl_ReadProperties(const PropertyBag& bag) {
    const std::string* show = findKey(bag, kShowToolTipKey);
    const std::optional<bool> showValue = show ? readBoolean(*show) : std::optional<bool>(false);
    if (!showValue) {
        UserControl_InitProperties();
        return;
    }
    const std::string* text = findKey(bag, kTextKey);
    setText(text ? *text : std::string());
    const std::string* url = findKey(bag, kUrlKey);
    url_ = url ? *url : std::string();
    setShowToolTip(*showValue);
}

void URLLink::UserControl_WriteProperties(PropertyBag& bag) const {
    for (const auto* key : {&kTextKey, &kUrlKey, &kShowToolTipKey}) eraseKey(bag, *key);
    if (!text().empty()) bag[kTextKey] = text();
    if (!url_.empty()) bag[kUrlKey] = url_;
    if (showToolTip_) bag[kShowToolTipKey] = "True";
}

}  // namespace plx
