#pragma once

#include <QFont>
#include <QString>

namespace fotonar {

/// The installed family that fontconfig chooses for `requested`: "Times New Roman" is Liberation
/// Serif where only the Liberation fonts are installed, and itself where it is installed. Qt
/// finds a family it lacks by having fontconfig sort every installed font, on the GUI thread
/// when the first caption is measured; asked by name, it finds the family at once. Resolved once
/// per name; safe to call from any thread. `requested` itself where fontconfig has no answer.
QString installedFamily(const QString &requested);

/// The families the window asks for, resolved ahead: start-up runs this on the second core while
/// Qt connects to the display.
void resolveWindowFamilies();

/// A font of `requested` family that Qt finds by the installed family's name.
QFont fontOfFamily(const QString &requested);

} // namespace fotonar
