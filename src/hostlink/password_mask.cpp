#include "hostlink/password_mask.h"

#include <algorithm>
#include <utility>

namespace plx {

std::string PasswordMask::shown(const std::string& piece, const std::string& password) {
    std::string text = std::exchange(held_, {}) + piece;
    if (password.empty()) return text;
    std::string masked;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(password, from)) != std::string::npos;
         from = at + password.size()) {
        masked.append(text, from, at - from);
        masked += kPasswordMask;
    }
    // The longest end of the rest that is the password's beginning waits for the next piece.
    const std::size_t rest = text.size() - from;
    for (std::size_t n = std::min(rest, password.size() - 1); n > 0; --n) {
        if (text.compare(text.size() - n, n, password, 0, n) == 0) {
            held_ = text.substr(text.size() - n);
            break;
        }
    }
    masked.append(text, from, rest - held_.size());
    return masked;
}

std::string PasswordMask::end() {
    return std::exchange(held_, {}).empty() ? std::string() : kPasswordMask;
}

}  // namespace plx
