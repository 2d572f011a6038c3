#include "bitmapview.h"

#include <QPainter>

namespace fotonar {

BitmapView::BitmapView(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , m_resource(resource)
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
    painter.drawImage(QRect(QPoint(0, 0), image().size()), image());
}

} // namespace fotonar
