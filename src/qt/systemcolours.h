#pragma once

#include "colour.h"

#include <QColor>
#include <QPalette>

namespace fotonar {

/// The classic light desktop's palette, built from the classic system colour table
/// (classiccolours.h): black captions, grey button faces, a navy highlight and focus, greyed
/// disabled text. The window uses it whatever the desktop theme.
QPalette classicPalette();

/// A colour written 0x00BBGGRR, or 0x800000nn for an entry of the classic system colour table
/// (black for an entry the table does not hold).
QColor toQColor(Colour colour);

} // namespace fotonar
