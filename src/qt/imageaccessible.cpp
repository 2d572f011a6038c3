#include "imageaccessible.h"

#include "bitmapview.h"
#include "picturewidget.h"

namespace fotonar {

namespace {

// Qt asks with the class names of the object's classes, the most derived first.
QAccessibleInterface *imageFactory(const QString &className, QObject *object)
{
    const bool image = className == QLatin1String(PictureWidget::staticMetaObject.className())
        || className == QLatin1String(BitmapView::staticMetaObject.className());
    return image && object->isWidgetType() ? new ImageAccessible(static_cast<QWidget *>(object))
                                           : nullptr;
}

} // namespace

void ImageAccessible::install()
{
    static const bool installed = (QAccessible::installFactory(imageFactory), true);
    (void)installed;
}

} // namespace fotonar
