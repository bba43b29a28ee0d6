#pragma once
// One seven-segment LED character with its decimal point, drawn with QPainter: slanted
// segments, unlit segments faintly visible as on a real sign, a soft glow on lit ones.

#include <QRectF>
#include <cstdint>

#include "led_attribute.h"

class QPainter;

namespace plx::wall {

// `cell` holds the character; the dot sits just right of it, inside `cell` widened by
// dotSpace(cell).
void paintLedCharacter(QPainter& painter, const QRectF& cell, std::uint8_t segments, bool dot,
                       Lamp lamp);
qreal dotSpace(const QRectF& cell);

}  // namespace plx::wall
