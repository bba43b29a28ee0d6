#include "platform/qt/images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <functional>
#include <map>

namespace plx::qtp {
namespace {

using Drawer = std::function<void(QPainter&, const QRectF&)>;

// Icons are drawn in the largest centred square, with a small margin so antialiased
// edges are not cut.
QRectF iconSquare(const QRectF& area) {
    const qreal side = std::min(area.width(), area.height());
    const qreal margin = std::max<qreal>(1.0, side * 0.06);
    QRectF square(0, 0, side - 2 * margin, side - 2 * margin);
    square.moveCenter(area.center());
    return square;
}

void lamp(QPainter& p, const QRectF& area, const QColor& colour) {
    const QRectF r = iconSquare(area);
    QRadialGradient glow(r.center() - QPointF(r.width() * 0.15, r.height() * 0.15),
                         r.width() * 0.65);
    glow.setColorAt(0.0, colour.lighter(170));
    glow.setColorAt(0.5, colour);
    glow.setColorAt(1.0, colour.darker(180));
    p.setPen(QPen(colour.darker(250), std::max<qreal>(1.0, r.width() * 0.06)));
    p.setBrush(glow);
    p.drawEllipse(r);
    // Specular highlight: reads as a glass lamp, not a flat dot.
    QRectF shine(0, 0, r.width() * 0.35, r.height() * 0.22);
    shine.moveCenter(r.center() - QPointF(r.width() * 0.12, r.height() * 0.24));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(shine);
}

QPainterPath heartPath(const QRectF& r) {
    const qreal w = r.width();
    const qreal h = r.height();
    const qreal x = r.left();
    const qreal y = r.top();
    QPainterPath path;
    path.moveTo(x + w * 0.5, y + h * 0.95);
    path.cubicTo(x - w * 0.1, y + h * 0.55, x + w * 0.05, y + h * 0.0, x + w * 0.5, y + h * 0.25);
    path.cubicTo(x + w * 0.95, y + h * 0.0, x + w * 1.1, y + h * 0.55, x + w * 0.5, y + h * 0.95);
    return path;
}

void heart(QPainter& p, const QRectF& area) {
    const QRectF r = iconSquare(area);
    QLinearGradient fill(r.topLeft(), r.bottomRight());
    fill.setColorAt(0, QColor(240, 70, 80));
    fill.setColorAt(1, QColor(170, 20, 35));
    p.setPen(QPen(QColor(110, 10, 20), std::max<qreal>(1.0, r.width() * 0.05)));
    p.setBrush(fill);
    p.drawPath(heartPath(r));
}

void heartBreak(QPainter& p, const QRectF& area) {
    const QRectF r = iconSquare(area);
    const QPainterPath whole = heartPath(r);
    // A zigzag crack down the middle; each half drawn apart and tilted.
    QPainterPath crack;
    crack.moveTo(r.left() + r.width() * 0.5, r.top());
    crack.lineTo(r.left() + r.width() * 0.42, r.top() + r.height() * 0.35);
    crack.lineTo(r.left() + r.width() * 0.58, r.top() + r.height() * 0.55);
    crack.lineTo(r.left() + r.width() * 0.47, r.top() + r.height() * 0.75);
    crack.lineTo(r.left() + r.width() * 0.5, r.bottom());
    QPainterPath left = crack;
    left.lineTo(r.bottomLeft());
    left.lineTo(r.topLeft());
    left.closeSubpath();
    const QPen outline(QColor(70, 70, 80), std::max<qreal>(1.0, r.width() * 0.05));
    const QColor grey(150, 150, 160);
    for (const bool isLeft : {true, false}) {
        const QPainterPath half = isLeft ? whole.intersected(left) : whole.subtracted(left);
        p.save();
        p.translate(r.width() * (isLeft ? -0.04 : 0.04), 0);
        p.setPen(outline);
        p.setBrush(grey);
        p.drawPath(half);
        p.restore();
    }
}

void page(QPainter& p, const QRectF& r, const QColor& paper, const QColor& ink) {
    const qreal fold = r.width() * 0.3;
    QPainterPath sheet;
    sheet.moveTo(r.left() + r.width() * 0.15, r.top());
    sheet.lineTo(r.right() - r.width() * 0.15 - fold, r.top());
    sheet.lineTo(r.right() - r.width() * 0.15, r.top() + fold);
    sheet.lineTo(r.right() - r.width() * 0.15, r.bottom());
    sheet.lineTo(r.left() + r.width() * 0.15, r.bottom());
    sheet.closeSubpath();
    p.setPen(QPen(ink.darker(150), std::max<qreal>(1.0, r.width() * 0.05)));
    p.setBrush(paper);
    p.drawPath(sheet);
    p.setPen(QPen(ink, std::max<qreal>(1.0, r.height() * 0.06)));
    for (int line = 0; line < 4; ++line) {
        const qreal y = r.top() + r.height() * (0.42 + 0.14 * line);
        p.drawLine(QPointF(r.left() + r.width() * 0.28, y),
                   QPointF(r.right() - r.width() * 0.28, y));
    }
}

void logToFile(QPainter& p, const QRectF& area, bool on) {
    const QRectF r = iconSquare(area);
    if (on) {
        page(p, r, QColor(255, 255, 250), QColor(40, 90, 170));
        // A green badge: the file is being written.
        QRectF badge(0, 0, r.width() * 0.42, r.height() * 0.42);
        badge.moveBottomRight(r.bottomRight());
        p.setPen(QPen(QColor(20, 100, 40), std::max<qreal>(1.0, r.width() * 0.04)));
        p.setBrush(QColor(60, 180, 80));
        p.drawEllipse(badge);
        p.setPen(QPen(Qt::white, std::max<qreal>(1.5, r.width() * 0.07), Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(
            QPolygonF({badge.topLeft() + QPointF(badge.width() * 0.25, badge.height() * 0.5),
                       badge.topLeft() + QPointF(badge.width() * 0.45, badge.height() * 0.7),
                       badge.topLeft() + QPointF(badge.width() * 0.75, badge.height() * 0.3)}));
    } else {
        page(p, r, QColor(235, 235, 235), QColor(150, 150, 150));
        p.setPen(QPen(QColor(200, 40, 40), std::max<qreal>(1.5, r.width() * 0.08), Qt::SolidLine,
                      Qt::RoundCap));
        p.drawLine(r.topLeft() + QPointF(r.width() * 0.1, r.height() * 0.1),
                   r.bottomRight() - QPointF(r.width() * 0.1, r.height() * 0.1));
    }
}

void footer(QPainter& p, const QRectF& r) {
    QLinearGradient band(r.topLeft(), r.bottomLeft());
    band.setColorAt(0, QColor(70, 86, 110));
    band.setColorAt(1, QColor(40, 50, 66));
    p.fillRect(r, band);
    p.setPen(QColor(120, 140, 170));
    p.drawLine(r.topLeft(), r.topRight());
}

// A little LED display: a dark panel showing "8888" in amber dot-matrix cells.
void terminal(QPainter& p, const QRectF& area) {
    const QRectF r = area.adjusted(1, 1, -1, -1);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(25, 25, 28));
    p.drawRoundedRect(r, r.height() * 0.12, r.height() * 0.12);
    const int cells = 4;
    const int columns = 3;
    const int rows = 5;
    const QRectF inner =
        r.adjusted(r.width() * 0.06, r.height() * 0.15, -r.width() * 0.06, -r.height() * 0.15);
    const qreal cellWidth = inner.width() / cells;
    const qreal pitch = std::min(cellWidth * 0.8 / columns, inner.height() / rows);
    p.setPen(Qt::NoPen);
    for (int cell = 0; cell < cells; ++cell) {
        const qreal x0 = inner.left() + cell * cellWidth + (cellWidth - pitch * columns) / 2;
        const qreal y0 = inner.top() + (inner.height() - pitch * rows) / 2;
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                // Lit dots draw an "8": every outer dot and the middle row.
                const bool lit = row == 0 || row == rows - 1 || row == rows / 2 || column != 1;
                p.setBrush(lit ? QColor(255, 170, 20) : QColor(70, 45, 10));
                p.drawEllipse(
                    QRectF(x0 + column * pitch, y0 + row * pitch, pitch * 0.8, pitch * 0.8));
            }
        }
    }
}

void roundBadge(QPainter& p, const QRectF& r, const QColor& colour) {
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, colour.lighter(130));
    fill.setColorAt(1, colour.darker(120));
    p.setPen(QPen(colour.darker(170), std::max<qreal>(1.0, r.width() * 0.05)));
    p.setBrush(fill);
    p.drawEllipse(r);
}

QPen symbolPen(const QRectF& r) {
    return QPen(Qt::white, std::max<qreal>(1.5, r.width() * 0.14), Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin);
}

void add(QPainter& p, const QRectF& area) {
    const QRectF r = iconSquare(area);
    roundBadge(p, r, QColor(50, 160, 70));
    p.setPen(symbolPen(r));
    const QPointF c = r.center();
    const qreal arm = r.width() * 0.26;
    p.drawLine(c - QPointF(arm, 0), c + QPointF(arm, 0));
    p.drawLine(c - QPointF(0, arm), c + QPointF(0, arm));
}

void remove(QPainter& p, const QRectF& area) {
    const QRectF r = iconSquare(area);
    roundBadge(p, r, QColor(200, 50, 50));
    p.setPen(symbolPen(r));
    const QPointF c = r.center();
    const qreal arm = r.width() * 0.26;
    p.drawLine(c - QPointF(arm, 0), c + QPointF(arm, 0));
}

void edit(QPainter& p, const QRectF& area) {
    const QRectF r = iconSquare(area);
    // A pencil lying from bottom-left to top-right.
    p.save();
    p.translate(r.center());
    p.rotate(-45);
    const qreal length = r.width() * 1.1;
    const qreal thick = r.width() * 0.26;
    const QRectF body(-length / 2 + thick * 0.9, -thick / 2, length - thick * 1.6, thick);
    p.setPen(QPen(QColor(120, 80, 10), std::max<qreal>(1.0, r.width() * 0.04)));
    p.setBrush(QColor(245, 190, 50));
    p.drawRect(body);
    p.setBrush(QColor(230, 120, 130));
    p.drawRect(QRectF(body.right(), -thick / 2, thick * 0.7, thick));
    QPolygonF tip({QPointF(body.left(), -thick / 2), QPointF(body.left(), thick / 2),
                   QPointF(-length / 2, 0)});
    p.setBrush(QColor(240, 220, 180));
    p.drawPolygon(tip);
    p.restore();
}

void test(QPainter& p, const QRectF& area) {
    const QRectF r = iconSquare(area);
    roundBadge(p, r, QColor(230, 150, 20));
    // A lightning bolt: a signal sent to the terminals.
    const qreal w = r.width();
    const qreal h = r.height();
    QPolygonF bolt(
        {r.topLeft() + QPointF(w * 0.56, h * 0.14), r.topLeft() + QPointF(w * 0.30, h * 0.55),
         r.topLeft() + QPointF(w * 0.48, h * 0.55), r.topLeft() + QPointF(w * 0.40, h * 0.88),
         r.topLeft() + QPointF(w * 0.72, h * 0.42), r.topLeft() + QPointF(w * 0.53, h * 0.42)});
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(bolt);
}

void help(QPainter& p, const QRectF& area) {
    const QRectF r = iconSquare(area);
    roundBadge(p, r, QColor(40, 110, 200));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(std::max(6, static_cast<int>(r.height() * 0.7)));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("?"));
}

void reset(QPainter& p, const QRectF& area) {
    const QRectF r = iconSquare(area);
    roundBadge(p, r, QColor(90, 100, 120));
    // A circular arrow: three quarters of a turn and its head.
    const QRectF arc =
        r.adjusted(r.width() * 0.25, r.height() * 0.25, -r.width() * 0.25, -r.height() * 0.25);
    QPen pen = symbolPen(r);
    pen.setWidthF(std::max<qreal>(1.5, r.width() * 0.1));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(arc, 90 * 16, 270 * 16);
    const QPointF end(arc.center().x(), arc.top());
    const qreal head = r.width() * 0.14;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({end + QPointF(head, 0), end - QPointF(head * 0.2, head),
                             end + QPointF(-head * 0.2, head)}));
}

void webpage(QPainter& p, const QRectF& area) {
    const QRectF r = iconSquare(area);
    roundBadge(p, r, QColor(30, 140, 170));
    // A globe: outline, equator, a meridian ellipse.
    QPen pen(Qt::white, std::max<qreal>(1.0, r.width() * 0.06));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF globe =
        r.adjusted(r.width() * 0.18, r.height() * 0.18, -r.width() * 0.18, -r.height() * 0.18);
    p.drawEllipse(globe);
    p.drawLine(QPointF(globe.left(), globe.center().y()),
               QPointF(globe.right(), globe.center().y()));
    p.drawEllipse(globe.adjusted(globe.width() * 0.28, 0, -globe.width() * 0.28, 0));
}

const std::map<std::string, Drawer>& drawers() {
    static const std::map<std::string, Drawer> table = {
        {"lamp-offline", [](QPainter& p, const QRectF& r) { lamp(p, r, QColor(210, 40, 40)); }},
        {"lamp-online", [](QPainter& p, const QRectF& r) { lamp(p, r, QColor(40, 190, 60)); }},
        {"lamp-pause", [](QPainter& p, const QRectF& r) { lamp(p, r, QColor(240, 170, 20)); }},
        {"heart", heart},
        {"heart-break", heartBreak},
        {"log-to-file-off", [](QPainter& p, const QRectF& r) { logToFile(p, r, false); }},
        {"log-to-file-on", [](QPainter& p, const QRectF& r) { logToFile(p, r, true); }},
        {"footer", footer},
        {"terminal", terminal},
        {"add", add},
        {"edit", edit},
        {"remove", remove},
        {"test", test},
        {"help", help},
        {"reset", reset},
        {"webpage", webpage},
    };
    return table;
}

}  // namespace

QPixmap drawImage(const std::string& name, QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    const auto found = drawers().find(name);
    if (found == drawers().end() || size.isEmpty()) return pixmap;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    found->second(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

}  // namespace plx::qtp
