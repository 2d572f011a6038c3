#include "surfacewidget.h"

#include "runerror.h"
#include "systemcolours.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace fotonar {

namespace {

// Far beyond any screen, yet small enough that whole-pixel arithmetic cannot overflow; a run
// with a wild distance may hand over coordinates far off the window.
constexpr double kCoordinateLimit = 1'000'000;

int toPixel(float coordinate)
{
    return int(std::lround(std::clamp(double(coordinate), -kCoordinateLimit, kCoordinateLimit)));
}

} // namespace

SurfaceWidget::SurfaceWidget(QWidget *parent)
    : QWidget(parent)
{
    // Every pixel comes from the picture, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void SurfaceWidget::setForeground(Colour colour)
{
    m_foreground = toQColor(colour);
}

void SurfaceWidget::addControl(Control control, QWidget *widget)
{
    m_controls.insert(control, widget);
}

void SurfaceWidget::setPenWidth(int pixels)
{
    m_penWidth = pixels;
}

void SurfaceWidget::setFillStyle(FillStyle style)
{
    m_fillStyle = style;
}

void SurfaceWidget::setFillColour(Colour colour)
{
    m_fillColour = toQColor(colour);
}

void SurfaceWidget::drawLine(float x1, float y1, float x2, float y2, std::optional<Colour> colour)
{
    ensurePicture();
    const QPoint from(toPixel(x1), toPixel(y1));
    const QPoint to(toPixel(x2), toPixel(y2));
    QPainter painter(&m_image);
    painter.setPen(pen(colour));
    painter.drawLine(toDevice(from.x(), from.y()), toDevice(to.x(), to.y()));
    markChanged(QRect(from, to).normalized());
}

void SurfaceWidget::drawCircle(float x, float y, float r, std::optional<Colour> colour)
{
    ensurePicture();
    const QPoint centre(toPixel(x), toPixel(y));
    const int radius = std::abs(toPixel(r));
    const int deviceRadius = toDeviceLength(radius);
    QPainter painter(&m_image);
    painter.setPen(pen(colour));
    painter.setBrush(m_fillStyle == FillStyle::Solid ? QBrush(m_fillColour) : QBrush(Qt::NoBrush));
    painter.drawEllipse(toDevice(centre.x(), centre.y()), deviceRadius, deviceRadius);
    markChanged(QRect(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius));
}

void SurfaceWidget::showControl(Control which)
{
    control(which)->show();
}

void SurfaceWidget::moveControl(Control which, float left, float top)
{
    control(which)->move(toPixel(left), toPixel(top));
}

void SurfaceWidget::present()
{
    if (!m_changed.isEmpty()) {
        update(m_changed);
        m_changed = QRegion();
    }
    // The run keeps the event thread busy: let Qt paint now, but leave clicks and keys queued
    // until the run has returned.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SurfaceWidget::paintEvent(QPaintEvent *event)
{
    ensurePicture();
    QPainter painter(this);
    for (const QRect &area : event->region()) {
        const QRectF source(
            area.x() * m_dpr, area.y() * m_dpr, area.width() * m_dpr, area.height() * m_dpr);
        painter.drawImage(QRectF(area), m_image, source);
    }
}

void SurfaceWidget::resizeEvent(QResizeEvent *event)
{
    ensurePicture();
    QWidget::resizeEvent(event);
}

void SurfaceWidget::ensurePicture()
{
    const qreal dpr = devicePixelRatioF();
    const QSize logical(std::max(width(), kSceneWidth), std::max(height(), kSceneHeight));
    const QSize device(
        int(std::ceil(logical.width() * dpr)), int(std::ceil(logical.height() * dpr)));
    if (!m_image.isNull() && dpr == m_dpr && m_image.width() >= device.width()
        && m_image.height() >= device.height())
        return;

    // The picture only ever grows, so drawing outside a shrunken window is still there when the
    // window grows again. On a change of pixel ratio the old picture is carried over unsmoothed.
    QImage grown(device.expandedTo(dpr == m_dpr ? m_image.size() : QSize()), QImage::Format_RGB32);
    grown.fill(toQColor(kBackgroundGrey));
    if (!m_image.isNull()) {
        QPainter painter(&grown);
        const qreal scale = dpr / m_dpr;
        painter.drawImage(QRectF(0, 0, m_image.width() * scale, m_image.height() * scale), m_image);
    }
    m_image = grown;
    m_dpr = dpr;
}

QPoint SurfaceWidget::toDevice(int x, int y) const
{
    return QPoint(int(std::lround(x * m_dpr)), int(std::lround(y * m_dpr)));
}

int SurfaceWidget::toDeviceLength(double logical) const
{
    return int(std::lround(logical * m_dpr));
}

QPen SurfaceWidget::pen(std::optional<Colour> colour) const
{
    // Round a fractional device width up, so that rows drawn one logical pixel apart still meet
    // (the erase relies on that at 125 %).
    const int width = std::max(1, int(std::ceil(m_penWidth * m_dpr - 1e-9)));
    return QPen(colour ? toQColor(*colour) : m_foreground, width, Qt::SolidLine, Qt::RoundCap,
        Qt::RoundJoin);
}

void SurfaceWidget::markChanged(const QRect &logical)
{
    const int margin = m_penWidth + 2;
    m_changed += logical.adjusted(-margin, -margin, margin, margin);
}

QWidget *SurfaceWidget::control(Control which) const
{
    QWidget *widget = m_controls.value(which);
    if (!widget)
        throw RunError("Okno nemá ovládací prvek, který má běh ukázat.");
    return widget;
}

} // namespace fotonar
