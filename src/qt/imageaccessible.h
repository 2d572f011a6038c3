#pragma once

#include <QAccessibleWidget>

namespace fotonar {

/// The picture and the α and β images to assistive technology: images (AT-SPI's "image" role)
/// named and described by their widgets' accessible name and description, where Qt would give a
/// plain widget the role of an unnamed filler.
class ImageAccessible : public QAccessibleWidget
{
public:
    explicit ImageAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Graphic)
    { }

    /// Makes Qt's accessibility take the picture and the bitmaps for images; once is enough.
    static void install();
};

} // namespace fotonar
