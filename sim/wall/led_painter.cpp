#include "led_painter.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <array>

#include "seven_segment.h"

namespace plx::wall {
namespace {

// Proportions of the character cell, as on common 0.56-inch LED digits.
constexpr qreal kThickness = 0.13;  // segment thickness, of the height
constexpr qreal kGap = 0.018;       // gap between neighbouring segments, of the height
constexpr qreal kSlant = 0.10;      // lean: the top stands this much of the height to the right

const QColor kUnlit(0x24, 0x1e, 0x1c);  // a bicolour LED switched off: neither red nor green
const QColor kRed(0xff, 0x3a, 0x24);
const QColor kGreen(0x3c, 0xff, 0x5c);

QColor colourOf(Lamp lamp) {
    switch (lamp) {
        case Lamp::Red:
            return kRed;
        case Lamp::Green:
            return kGreen;
        case Lamp::Off:
            break;
    }
    return kUnlit;
}

// A segment as a six-cornered bar between two points on its axis.
QPolygonF bar(QPointF from, QPointF to, qreal thickness) {
    const qreal half = thickness / 2;
    if (from.y() == to.y()) {
        return QPolygonF({from,
                          {from.x() + half, from.y() - half},
                          {to.x() - half, to.y() - half},
                          to,
                          {to.x() - half, to.y() + half},
                          {from.x() + half, from.y() + half}});
    }
    return QPolygonF({from,
                      {from.x() + half, from.y() + half},
                      {to.x() + half, to.y() - half},
                      to,
                      {to.x() - half, to.y() - half},
                      {from.x() - half, from.y() + half}});
}

}  // namespace

qreal dotSpace(const QRectF& cell) {
    return cell.height() * kThickness * 1.6;
}

void paintLedCharacter(QPainter& painter, const QRectF& cell, std::uint8_t segments, bool dot,
                       Lamp lamp) {
    const qreal h = cell.height();
    const qreal t = h * kThickness;
    const qreal g = h * kGap;
    const qreal left = t / 2;
    const qreal right = cell.width() - t / 2 - kSlant * h;  // the lean takes the rest
    const qreal top = t / 2;
    const qreal middle = h / 2;
    const qreal bottom = h - t / 2;

    const std::array<QPolygonF, 7> shapes = {
        bar({left + g, top}, {right - g, top}, t),         // a
        bar({right, top + g}, {right, middle - g}, t),     // b
        bar({right, middle + g}, {right, bottom - g}, t),  // c
        bar({left + g, bottom}, {right - g, bottom}, t),   // d
        bar({left, middle + g}, {left, bottom - g}, t),    // e
        bar({left, top + g}, {left, middle - g}, t),       // f
        bar({left + g, middle}, {right - g, middle}, t),   // g
    };

    // Italic lean: x moves right in proportion to the height above the baseline; the
    // vertical bars above were laid out upright and lean here too.
    QTransform lean;
    lean.translate(cell.left(), cell.top());
    lean.shear(-kSlant, 0);
    lean.translate(kSlant * h, 0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(lean, true);

    const QColor lit = colourOf(lamp);
    QColor glow = lit;
    glow.setAlpha(70);
    const auto paintShape = [&](const QPainterPath& path, bool on) {
        if (on && lamp != Lamp::Off) {
            painter.strokePath(path,
                               QPen(glow, t * 0.55, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.fillPath(path, lit);
        } else {
            painter.fillPath(path, kUnlit);
        }
    };
    for (std::size_t segment = 0; segment < shapes.size(); ++segment) {
        QPainterPath path;
        path.addPolygon(shapes[segment]);
        path.closeSubpath();
        paintShape(path, (segments >> segment) & 1);
    }
    QPainterPath point;
    point.addEllipse(QPointF(right + t * 1.1, bottom), t * 0.55, t * 0.55);
    paintShape(point, dot);
    painter.restore();
}

}  // namespace plx::wall
