#pragma once

#include <QWidget>

namespace fotonar {

/// Says short messages to assistive technology without taking the keyboard focus. Qt 6.4 has no
/// announcement of its own on AT-SPI; a screen reader such as Orca speaks a notification when it
/// shows, so this is an empty widget that AT-SPI sees as a notification, named by the message and
/// shown afresh with each. It takes no room on the screen and no input.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    /// Says `message` (one sentence) once; it stays the notification's name until the next.
    void announce(const QString &message);
};

} // namespace fotonar
