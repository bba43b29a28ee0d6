#pragma once
// Our own small pictures, drawn with QPainter by name: no image files to ship or lose.

#include <QPixmap>
#include <string>

namespace plx::qtp {

// The named picture drawn to fill `size` (device-independent pixels). An unknown or
// empty name gives a transparent pixmap.
QPixmap drawImage(const std::string& name, QSize size, qreal devicePixelRatio = 1.0);

}  // namespace plx::qtp
