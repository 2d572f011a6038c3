#include "systemcolours.h"

#include "runerror.h"

#include <string>

namespace fotonar {

QColor systemColourEntry(int entry)
{
    switch (entry) {
    case 9: // caption text
        return QColor(255, 255, 255);
    case 12: // application workspace
        return QColor(128, 128, 128);
    default:
        return {};
    }
}

QColor toQColor(Colour colour)
{
    if (isSystemColour(colour)) {
        const int entry = int(colour & 0xFFu);
        const QColor resolved = systemColourEntry(entry);
        if (!resolved.isValid())
            throw RunError("Neplatná systémová barva " + std::to_string(entry) + ".");
        return resolved;
    }
    return QColor(int(colour & 0xFFu), int((colour >> 8) & 0xFFu), int((colour >> 16) & 0xFFu));
}

} // namespace fotonar
