#include "bitmapview.h"

#include <QPainter>

namespace fotonar {

BitmapView::BitmapView(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , m_image(resource)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(m_image.size());
}

void BitmapView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(0, 0), m_image.size()), m_image);
}

} // namespace fotonar
