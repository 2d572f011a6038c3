#include "bitmapview.h"

#include <QPainter>

#include <utility>

namespace fotonar {

BitmapView::BitmapView(QString resource, QWidget *parent)
    : QWidget(parent)
    , m_resource(std::move(resource))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const QImage &BitmapView::image() const
{
    if (m_image.isNull())
        m_image.load(m_resource, "BMP");
    return m_image;
}

void BitmapView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // At the window's zoom each bitmap pixel is a block of whole pixels, the nearest one.
    painter.drawImage(rect(), image());
}

} // namespace fotonar
