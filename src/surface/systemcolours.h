#pragma once

#include "colour.h"

#include <QColor>

namespace fotonar {

/// The desktop's system colour table as the program knows it. There is no such table on a
/// Linux desktop, so the classic defaults stand in: entry 9 (caption text) is white and
/// entry 12 (application workspace) is (128, 128, 128).
/// Returns an invalid QColor for an entry the table does not hold.
QColor systemColourEntry(int entry);

/// Resolves a colour written 0x00BBGGRR, or 0x800000nn for a system colour table entry.
/// Throws RunError for a system entry the table does not hold.
QColor toQColor(Colour colour);

} // namespace fotonar
