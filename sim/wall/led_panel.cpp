#include "led_panel.h"

#include <QLinearGradient>
#include <QPainter>

#include "led_painter.h"
#include "report_lines.h"
#include "seven_segment.h"

namespace plx::wall {
namespace {

constexpr qreal kMargin = 12;           // pixels around the display window
constexpr qreal kDisplayHeight = 96;    // pixels
constexpr qreal kCharacterHeight = 64;  // pixels
constexpr qreal kCharacterWidth = 40;   // pixels, lean included

const QColor kPanelTop(0x25, 0x28, 0x2e);
const QColor kPanelBottom(0x18, 0x1a, 0x1e);
const QColor kPanelEdge(0x3a, 0x3f, 0x47);
const QColor kDisplayGlass(0x07, 0x07, 0x08);
const QColor kNumberText(0xec, 0xee, 0xf1);
const QColor kQuietText(0x8b, 0x93, 0x9e);
const QColor kWarningText(0xff, 0xb3, 0x3b);

const TerminalState& stateOf(const WallModel& model, std::size_t row) {
    return model.terminals()[row];
}

}  // namespace

LedPanel::LedPanel(const WallModel& model, std::size_t row, const FlashPhase& phase,
                   QWidget* parent)
    : QWidget(parent), model_(model), row_(row), phase_(phase) {
    setFixedSize(kWidth, kHeight);
}

bool LedPanel::flashing() const {
    return stateOf(model_, row_).flashing();
}

void LedPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF panel = QRectF(rect()).adjusted(3, 3, -3, -3);
    QLinearGradient face(panel.topLeft(), panel.bottomLeft());
    face.setColorAt(0, kPanelTop);
    face.setColorAt(1, kPanelBottom);
    painter.setPen(QPen(kPanelEdge, 1));
    painter.setBrush(face);
    painter.drawRoundedRect(panel, 10, 10);

    const QRectF window(panel.left() + kMargin, panel.top() + kMargin, panel.width() - 2 * kMargin,
                        kDisplayHeight);
    paintDisplay(painter, window);
    paintCaptions(painter, QRectF(window.left(), window.bottom() + 8, window.width(),
                                  panel.bottom() - window.bottom() - 12));
}

void LedPanel::paintDisplay(QPainter& painter, const QRectF& window) const {
    painter.setPen(QPen(QColor(0, 0, 0), 2));
    painter.setBrush(kDisplayGlass);
    painter.drawRoundedRect(window, 5, 5);

    const TerminalState& terminal = stateOf(model_, row_);
    const QRectF first(0, 0, kCharacterWidth, kCharacterHeight);
    const qreal pitch = kCharacterWidth + dotSpace(first);
    const qreal textWidth = pitch * kValueChars;
    QRectF cell(window.left() + (window.width() - textWidth) / 2 + 4,
                window.top() + (window.height() - kCharacterHeight) / 2, kCharacterWidth,
                kCharacterHeight);
    for (std::size_t i = 0; i < kValueChars; ++i, cell.translate(pitch, 0)) {
        if (!terminal.lit) {
            paintLedCharacter(painter, cell, 0, false, Lamp::Off);
            continue;
        }
        const LedAttribute attribute = attributeOf(terminal.shown.attributes[i]);
        paintLedCharacter(painter, cell, segmentsOf(terminal.shown.value[i]), attribute.dot,
                          lampAt(attribute, phase_));
    }

    if (terminal.binding == Binding::Failed || terminal.binding == Binding::Refused) {
        // A terminal that cannot listen is dimmed and says why, over its dark display.
        painter.fillRect(window.adjusted(2, 2, -2, -2), QColor(0, 0, 0, 190));
        painter.setPen(kWarningText);
        QFont font = painter.font();
        font.setPixelSize(13);
        font.setBold(true);
        painter.setFont(font);
        const QString headline = terminal.binding == Binding::Refused
                                     ? QStringLiteral("REFUSED")
                                     : QStringLiteral("CANNOT BIND");
        painter.drawText(window.adjusted(8, 8, -8, -8),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, headline);
        font.setBold(false);
        font.setPixelSize(11);
        painter.setFont(font);
        painter.drawText(window.adjusted(8, 30, -8, -6), Qt::AlignCenter | Qt::TextWordWrap,
                         QString::fromStdString(terminal.bindError));
    }
}

void LedPanel::paintCaptions(QPainter& painter, const QRectF& area) const {
    const TerminalState& terminal = stateOf(model_, row_);
    QFont font = painter.font();

    font.setPixelSize(20);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    painter.setFont(font);
    painter.setPen(kNumberText);
    const QRectF firstLine(area.left() + 2, area.top(), area.width() - 4, 26);
    // Long texts from the list are cut with an ellipsis rather than drawn over each other.
    const QString number = painter.fontMetrics().elidedText(
        QString::fromStdString(terminal.entry.number), Qt::ElideRight, int(firstLine.width() / 2));
    QRectF numberBox;
    painter.drawText(firstLine, Qt::AlignLeft | Qt::AlignVCenter, number, &numberBox);

    font.setPixelSize(13);
    font.setBold(false);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    painter.setFont(font);
    painter.setPen(kQuietText);
    const QString address = painter.fontMetrics().elidedText(
        QString::fromStdString(terminal.entry.address), Qt::ElideRight,
        int(firstLine.right() - numberBox.right() - 12));
    painter.drawText(firstLine, Qt::AlignRight | Qt::AlignVCenter, address);

    const QRectF secondLine(firstLine.left(), firstLine.bottom() + 2, firstLine.width(), 18);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.drawText(secondLine, Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(framesCaption(terminal.frames)));
    if (!terminal.lit) return;
    QString attributes =
        QStringLiteral("attr ") + QString::fromStdString(terminal.shown.attributes);
    if (const char unknown = terminal.unknownAttribute()) {
        // The terminal draws an attribute it does not know in red; say so.
        attributes += QStringLiteral("  (%1 shown red)").arg(QChar(unknown));
        painter.setPen(kWarningText);
    }
    painter.drawText(secondLine, Qt::AlignRight | Qt::AlignVCenter, attributes);
}

}  // namespace plx::wall
