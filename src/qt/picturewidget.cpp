#include "picturewidget.h"

#include "layout.h"
#include "systemcolours.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace fotonar {

namespace {

// Qt's raster engine paints with 256-bit AVX code and may leave the upper halves of the vector
// registers dirty. Until they are cleared, every legacy SSE instruction that follows pays a
// transition penalty, and the pause that follows a frame is all such instructions.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void clearUpperVectorState()
{
    _mm256_zeroupper();
}

void leaveVectorStateClean()
{
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        clearUpperVectorState();
}
#else
void leaveVectorStateClean() { }
#endif

} // namespace

PictureWidget::PictureWidget(QWidget *parent)
    : QWidget(parent)
    , m_surface(*this, PixelOrder::Bgra) // QImage::Format_RGB32 on a little-endian machine
{
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
    // Every pixel comes from the picture, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

QImage PictureWidget::picture()
{
    const std::uint32_t *pixels = m_surface.pixels();
    if (!pixels)
        return {};
    return QImage(reinterpret_cast<const uchar *>(pixels), m_surface.deviceWidth(),
        m_surface.deviceHeight(), qsizetype(m_surface.deviceWidth()) * 4, QImage::Format_RGB32);
}

void PictureWidget::paintEvent(QPaintEvent *event)
{
    followScreen();
    QPainter painter(this);
    const QImage image = picture();
    if (image.isNull()) { // nothing drawn yet: the window opens without waiting for a picture
        painter.fillRect(event->rect(), toQColor(kBackgroundGrey));
        return;
    }
    const qreal scale = devicePixelRatioF(); // the picture is the widget's device pixels
    for (const QRect &area : event->region()) {
        // Clipped to the whole changed region, dozens of rectangles, Qt copies an image span by
        // span; clipped to the one rectangle, it copies whole rows.
        painter.setClipRect(area);
        painter.drawImage(QRectF(area), image,
            QRectF(
                area.x() * scale, area.y() * scale, area.width() * scale, area.height() * scale));
    }
}

void PictureWidget::resizeEvent(QResizeEvent *event)
{
    followScreen();
    QWidget::resizeEvent(event);
}

void PictureWidget::setZoom(double zoom)
{
    m_zoom = zoom;
    followScreen();
}

void PictureWidget::followScreen()
{
    // The window may have moved to a screen of another density. A new scale draws everything
    // again at that scale: the lines stay one colour, aliased, at any zoom.
    m_surface.resize(kPreferredWidth, kPreferredHeight, devicePixelRatioF() * m_zoom);
}

void PictureWidget::show(std::span<const PixelRect> rectangles)
{
    const qreal scale = devicePixelRatioF();
    QRegion changed;
    for (const PixelRect &rect : rectangles) {
        const int left = int(std::floor(rect.left / scale));
        const int top = int(std::floor(rect.top / scale));
        changed += QRect(QPoint(left, top),
            QPoint(int(std::ceil((rect.right + 1) / scale)) - 1,
                int(std::ceil((rect.bottom + 1) / scale)) - 1));
    }
    update(changed);
}

void PictureWidget::yield()
{
    // Qt paints and delivers what came meanwhile; the window's controller holds back what the
    // user's clicks and keys ask for until the run has returned.
    QCoreApplication::processEvents();
    leaveVectorStateClean(); // the run's pause follows at once
}

void PictureWidget::showControl(Control which)
{
    control(which)->show();
}

void PictureWidget::moveControl(Control which, int left, int top)
{
    emit controlMoved(which, left, top);
}

std::chrono::nanoseconds PictureWidget::frameInterval()
{
    // Read once a frame: the window may change screens.
    const QScreen *shown = screen();
    return FramePacer::refreshInterval(shown ? shown->refreshRate() : 0);
}

QWidget *PictureWidget::control(Control which) const
{
    const std::string_view name = revealedControl(which).name;
    return parentWidget()->findChild<QWidget *>(QLatin1String(name.data(), qsizetype(name.size())));
}

} // namespace fotonar
