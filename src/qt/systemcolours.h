#pragma once

#include "colour.h"

#include <QColor>
#include <QPalette>

namespace fotonar {

/// The desktop's system colour table as the program knows it. There is no such table on a
/// Linux desktop, so the classic defaults stand in: entry 9 (caption text) is white,
/// entry 12 (application workspace) is (128, 128, 128), and so on (classiccolours.h).
/// Returns an invalid QColor for an entry the table does not hold.
QColor systemColourEntry(int entry);

/// The classic light desktop's palette, built from the same table: black captions, grey button
/// faces, a navy highlight, greyed disabled text. The window uses it whatever the desktop theme.
QPalette classicPalette();

/// Resolves a colour written 0x00BBGGRR, or 0x800000nn for a system colour table entry.
/// Throws RunError for a system entry the table does not hold.
QColor toQColor(Colour colour);

} // namespace fotonar
