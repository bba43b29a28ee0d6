#include "vt100_screen.h"

#include <algorithm>

namespace plx::sim {
namespace {

constexpr char ESC = 0x1b;

// The n-th numeric parameter of "r;c", or `missing` when absent or empty (VT100 default).
int parameter(const QByteArray& parameters, int n, int missing) {
    const QList<QByteArray> fields = parameters.split(';');
    if (n >= fields.size() || fields[n].isEmpty()) return missing;
    bool ok = false;
    const int value = fields[n].toInt(&ok);
    return ok ? value : missing;
}

}  // namespace

Vt100Screen::Vt100Screen() {
    clearAll();
}

void Vt100Screen::clearAll() {
    grid_.assign(kRows, QByteArray(kColumns, ' '));
}

void Vt100Screen::feed(const QByteArray& bytes) {
    for (const char c : bytes) {
        switch (reading_) {
            case Reading::Text:
                if (c == ESC) {
                    reading_ = Reading::Escape;
                } else if (c == '\r') {
                    column_ = 0;
                } else if (c == '\n') {
                    row_ = std::min(row_ + 1, kRows - 1);
                } else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) {
                    print(c);
                }
                break;
            case Reading::Escape:
                // Only control sequences (ESC [) matter here; a two-byte escape ends now.
                reading_ = c == '[' ? Reading::Sequence : Reading::Text;
                parameters_.clear();
                break;
            case Reading::Sequence:
                if ((c >= '0' && c <= '9') || c == ';' || c == '?') {
                    parameters_.append(c);
                } else {
                    control(c);
                    reading_ = Reading::Text;
                }
                break;
        }
    }
}

void Vt100Screen::print(char c) {
    grid_[row_][column_] = c;
    // The last column keeps the cursor: no automatic wrap in our host's screens.
    column_ = std::min(column_ + 1, kColumns - 1);
}

void Vt100Screen::control(char final) {
    switch (final) {
        case 'H':
        case 'f':
            row_ = std::clamp(parameter(parameters_, 0, 1), 1, kRows) - 1;
            column_ = std::clamp(parameter(parameters_, 1, 1), 1, kColumns) - 1;
            return;
        case 'J':
            if (parameter(parameters_, 0, 0) == 2) clearAll();
            return;
        case 'K':
            std::fill(grid_[row_].begin() + column_, grid_[row_].end(), ' ');
            return;
        default:
            return;  // attributes and the rest change no text
    }
}

QStringList Vt100Screen::rows() const {
    QStringList rows;
    for (const QByteArray& row : grid_) {
        QString text = QString::fromLatin1(row);
        while (text.endsWith(' ')) text.chop(1);
        rows.append(text);
    }
    return rows;
}

}  // namespace plx::sim
