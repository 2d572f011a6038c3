#pragma once

#include <QImage>
#include <QPoint>

namespace fotonar {

/// Sets the very pixels that Qt's raster engine sets for an aliased line one device pixel wide
/// with round caps (QPainter::drawLine with a solid one-pixel pen), without the painter's set-up
/// for every line: a run's legs are 200 such lines of up to 500 pixels.
/// `image` is RGB32; `from` and `to` (device pixels) lie inside it, at least one pixel from
/// its edges; `colour` is opaque.
void drawThinLine(QImage &image, QPoint from, QPoint to, QRgb colour);

} // namespace fotonar
