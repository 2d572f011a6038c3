#include "surfacewidget.h"

#include "devicepixels.h"
#include "runerror.h"
#include "systemcolours.h"
#include "thinline.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace fotonar {

namespace {

// Circles up to this radius in device pixels (the run's are 1 and 6 logical pixels) are stamped
// from a picture of the last one; a larger one is drawn, not copied from a huge image.
constexpr int kMostStampedRadius = 64;
// Longer lines are not stamped; nor are more shapes of line kept than a run could need.
constexpr int kMostStampedSpan = 64;
constexpr std::size_t kMostLineStamps = 512;

// Qt's raster engine paints with 256-bit AVX code and may leave the upper halves of the vector
// registers dirty. Until they are cleared, every legacy SSE instruction that follows pays a
// transition penalty, and the pause that follows a present is all such instructions.
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

QRect toQRect(const PixelRect &rect)
{
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right, rect.bottom));
}

PixelRect toPixelRect(const QRect &rect)
{
    return {rect.left(), rect.top(), rect.right(), rect.bottom()};
}

bool isCutOut(const QImage &stamp)
{
    for (int y = 0; y < stamp.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(stamp.constScanLine(y));
        for (int x = 0; x < stamp.width(); ++x)
            if (const int alpha = qAlpha(row[x]); alpha != 0 && alpha != 255)
                return false;
    }
    return true;
}

// The opaque pixels of `stamp` (ARGB32 premultiplied, each pixel opaque or clear) onto
// `picture` (RGB32) with the stamp's top left at `topLeft`, clipped to the picture.
void copyOpaquePixels(QImage &picture, QPoint topLeft, const QImage &stamp)
{
    const QRect onPicture = QRect(topLeft, stamp.size()) & picture.rect();
    for (int y = onPicture.top(); y <= onPicture.bottom(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(stamp.constScanLine(y - topLeft.y()));
        auto *to = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = onPicture.left(); x <= onPicture.right(); ++x)
            if (const QRgb pixel = from[x - topLeft.x()]; qAlpha(pixel))
                to[x] = pixel;
    }
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
    const QPoint deviceFrom = toDevice(from.x(), from.y());
    const QPoint deviceTo = toDevice(to.x(), to.y());
    const QPen linePen = pen(colour);
    if (deviceFrom.x() == deviceTo.x() || deviceFrom.y() == deviceTo.y()) {
        // Upright and level lines (the erase, the medium, the axes, the time bars) are plain
        // rectangles: the pen's square swept from one end to the other. Qt's thin-line path
        // would set them pixel by pixel.
        fillLater(toQRect(sweptByPen(
                      deviceFrom.x(), deviceFrom.y(), deviceTo.x(), deviceTo.y(), linePen.width())),
            linePen.color());
        return; // marked as changed when the pile of rows is filled
    }
    const QRect inside = m_image.rect().adjusted(1, 1, -1, -1);
    if (linePen.width() == 1 && inside.contains(deviceFrom) && inside.contains(deviceTo)) {
        prepareToWritePixels();
        drawThinLine(m_image, deviceFrom, deviceTo, linePen.color().rgb());
    } else if (const QPoint span = deviceTo - deviceFrom;
               std::max(std::abs(span.x()), std::abs(span.y())) <= kMostStampedSpan) {
        const LineStamp &line = lineStamp(span, linePen);
        stampAt(deviceFrom - line.start, line.stamp);
    } else {
        picturePainter(linePen, Qt::NoBrush).drawLine(deviceFrom, deviceTo);
    }
    markLineChanged(from, to);
}

void SurfaceWidget::drawCircle(float x, float y, float r, std::optional<Colour> colour)
{
    ensurePicture();
    const QPoint centre(toPixel(x), toPixel(y));
    const int radius = std::abs(toPixel(r));
    const int deviceRadius = fotonar::toDevice(radius, m_dpr);
    const QPen outline = pen(colour);
    const QBrush fill
        = m_fillStyle == FillStyle::Solid ? QBrush(m_fillColour) : QBrush(Qt::NoBrush);
    const QPoint deviceCentre = toDevice(centre.x(), centre.y());
    if (deviceRadius <= kMostStampedRadius) {
        const Stamp &stamp = circleStamp(deviceRadius, outline, fill);
        stampAt(deviceCentre - QPoint(stamp.image.width() / 2, stamp.image.height() / 2), stamp);
    } else {
        picturePainter(outline, fill).drawEllipse(deviceCentre, deviceRadius, deviceRadius);
    }
    markChanged(QRect(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius));
}

const SurfaceWidget::Stamp &SurfaceWidget::circleStamp(
    int deviceRadius, const QPen &outline, const QBrush &fill)
{
    // Stroking a circle costs as much as a whole path's legs, and the arrows of a run all have
    // the same one.
    CircleStamp &cached = m_circleStamp;
    if (cached.stamp.image.isNull() || cached.radius != deviceRadius || cached.outline != outline
        || cached.fill != fill) {
        const int half = deviceRadius + outline.width() + 1;
        cached.stamp
            = stampOf(QSize(2 * half + 1, 2 * half + 1), outline, fill, [&](QPainter &painter) {
                  painter.drawEllipse(QPoint(half, half), deviceRadius, deviceRadius);
              });
        cached.radius = deviceRadius;
        cached.outline = outline;
        cached.fill = fill;
    }
    return cached.stamp;
}

const SurfaceWidget::LineStamp &SurfaceWidget::lineStamp(QPoint span, const QPen &pen)
{
    // A short line in a wide pen (an arrow, 3 px) costs Qt a stroke and a polygon fill. An
    // arrow's shape is one of the hundred-odd steps of its length in whole pixels, and a run
    // repeated, as in class, draws the same ones again.
    const LineStampKey key {span.x(), span.y(), pen.width(), pen.color().rgb()};
    if (const auto known = m_lineStamps.find(key); known != m_lineStamps.end())
        return known->second;
    if (m_lineStamps.size() >= kMostLineStamps)
        m_lineStamps.clear();
    const int margin = pen.width() + 1;
    const QPoint start(margin + std::max(0, -span.x()), margin + std::max(0, -span.y()));
    const QSize size(std::abs(span.x()) + 2 * margin + 1, std::abs(span.y()) + 2 * margin + 1);
    Stamp stamp = stampOf(
        size, pen, Qt::NoBrush, [&](QPainter &painter) { painter.drawLine(start, start + span); });
    return m_lineStamps.emplace(key, LineStamp {std::move(stamp), start}).first->second;
}

SurfaceWidget::Stamp SurfaceWidget::stampOf(
    QSize size, const QPen &pen, const QBrush &brush, const std::function<void(QPainter &)> &draw)
{
    // Unsmoothed drawing between whole-pixel points is the same pixel for pixel wherever it
    // lies: drawn once onto a transparent image, a shape can be stamped instead of drawn.
    Stamp stamp {QImage(size, QImage::Format_ARGB32_Premultiplied)};
    stamp.image.fill(Qt::transparent);
    {
        QPainter painter(&stamp.image);
        painter.setPen(pen);
        painter.setBrush(brush);
        draw(painter);
    }
    stamp.cutOut = isCutOut(stamp.image);
    return stamp;
}

void SurfaceWidget::stampAt(QPoint topLeft, const Stamp &stamp)
{
    // A shape whose pixels are all opaque or clear comes out the same copied as blended through
    // a painter, and copying costs a fraction of blending.
    if (!stamp.cutOut) {
        picturePainter().drawImage(topLeft, stamp.image);
        return;
    }
    prepareToWritePixels();
    copyOpaquePixels(m_image, topLeft, stamp.image);
}

void SurfaceWidget::prepareToWritePixels()
{
    fillPending(); // what was drawn before comes first
    if (m_painter.isActive() && !m_image.isDetached())
        m_painter.end(); // writing must not detach the image from under an open painter
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
    // A second frame within one refresh would never be seen, yet each costs a trip to the
    // display server. Held back, the drawing goes out with the next present, one path's pause
    // later, and the painter stays open for it.
    if (!m_pacer.due(FramePacer::Clock::now())) {
        leaveVectorStateClean(); // the path was drawn all the same, and the pause follows
        return;
    }
    flush();
}

void SurfaceWidget::flush()
{
    // A frame's time is when it is handed over, not when painting it is done: the next path,
    // one pause later, then gets a frame of its own whenever its pause outlasts a refresh.
    // Drawing that left every tile as it was shown is no frame.
    const auto handedOver = FramePacer::Clock::now();
    finishDrawing();
    QRegion changed;
    for (const PixelRect &tiles : m_changed.take())
        changed += toQRect(tiles);
    if (!changed.isEmpty()) {
        // The screen's rate is read once a frame: the window may change screens.
        m_pacer.frameShown(handedOver, std::chrono::nanoseconds(frameInterval()));
        update(changed);
        ++m_framesFlushed;
    }
    // The run keeps the event thread busy: let Qt paint now, but leave clicks and keys queued
    // until the run has returned.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    leaveVectorStateClean(); // the run's pause follows at once
}

qint64 SurfaceWidget::frameInterval() const
{
    const QScreen *shown = screen();
    return FramePacer::refreshInterval(shown ? shown->refreshRate() : 0).count();
}

void SurfaceWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_image.isNull()) { // nothing drawn yet: the window opens without waiting for a picture
        painter.fillRect(event->rect(), toQColor(kBackgroundGrey));
        return;
    }
    finishDrawing();
    ensurePicture();
    for (const QRect &area : event->region()) {
        m_changed.painted(toPixelRect(area));
        const QRectF source(
            area.x() * m_dpr, area.y() * m_dpr, area.width() * m_dpr, area.height() * m_dpr);
        // The painter is clipped to the whole changed region, dozens of rectangles, and through
        // such a clip Qt copies an image span by span; clipped to the one rectangle, it copies
        // whole rows.
        painter.setClipRect(area);
        painter.drawImage(QRectF(area), m_image, source);
    }
}

void SurfaceWidget::resizeEvent(QResizeEvent *event)
{
    // The picture is made by the first drawing; once there, it grows with the window. Making it
    // earlier would put its allocation and first fill, mostly page faults, into the start-up.
    if (!m_image.isNull())
        ensurePicture();
    QWidget::resizeEvent(event);
}

void SurfaceWidget::fillLater(const QRect &device, const QColor &colour)
{
    if (m_pendingFills.extend(toPixelRect(device), colour.rgb()))
        return;
    fillPending();
    m_pendingFills.start(toPixelRect(device), colour.rgb());
}

void SurfaceWidget::fillPending()
{
    if (const std::optional<FillPile::Fill> pile = m_pendingFills.take())
        fill(*pile);
}

void SurfaceWidget::fill(const FillPile::Fill &pile)
{
    picturePainter().fillRect(toQRect(pile.area), QColor::fromRgb(pile.colour));
    m_changed.markFill(
        touchedLogical(pile.area, m_dpr), coveredLogical(pile.area, m_dpr), pile.colour);
}

QPainter &SurfaceWidget::picturePainter()
{
    fillPending(); // what was drawn before comes first
    // One painter serves all the drawing between two presents, and its pen and brush change
    // only when they must: the 900 lines of the scene would otherwise spend most of their time
    // opening painters and setting up pens.
    if (!m_painter.isActive()) {
        ensurePicture();
        m_painter.begin(&m_image);
    }
    return m_painter;
}

QPainter &SurfaceWidget::picturePainter(const QPen &pen, const QBrush &brush)
{
    picturePainter();
    if (m_painter.pen() != pen)
        m_painter.setPen(pen);
    if (m_painter.brush() != brush)
        m_painter.setBrush(brush);
    return m_painter;
}

void SurfaceWidget::finishDrawing()
{
    fillPending();
    if (m_painter.isActive())
        m_painter.end();
}

void SurfaceWidget::ensurePicture()
{
    const qreal dpr = devicePixelRatioF();
    const QSize logical(
        std::max(width(), kSceneExtentWidth), std::max(height(), kSceneExtentHeight));
    const QSize device(
        int(std::ceil(logical.width() * dpr)), int(std::ceil(logical.height() * dpr)));
    if (!m_image.isNull() && dpr == m_dpr && m_image.width() >= device.width()
        && m_image.height() >= device.height())
        return;
    finishDrawing();

    // The picture only ever grows, so drawing outside a shrunken window is still there when the
    // window grows again. On a change of pixel ratio the old picture is carried over unsmoothed.
    QImage grown(device.expandedTo(dpr == m_dpr ? m_image.size() : QSize()), QImage::Format_RGB32);
    grown.fill(toQColor(kBackgroundGrey));
    if (!m_image.isNull()) {
        QPainter painter(&grown);
        const qreal scale = dpr / m_dpr;
        painter.drawImage(QRectF(0, 0, m_image.width() * scale, m_image.height() * scale), m_image);
    }
    const bool uniform = m_image.isNull();
    m_image = grown;
    m_dpr = dpr;
    const QSize tiled = logical.expandedTo(
        QSize(int(std::ceil(m_image.width() / dpr)), int(std::ceil(m_image.height() / dpr))));
    m_changed.resize(tiled.width(), tiled.height(),
        uniform ? toQColor(kBackgroundGrey).rgb() : ChangedTiles::kUnknown);
}

QPoint SurfaceWidget::toDevice(int x, int y) const
{
    return QPoint(fotonar::toDevice(x, m_dpr), fotonar::toDevice(y, m_dpr));
}

QPen SurfaceWidget::pen(std::optional<Colour> colour) const
{
    return QPen(colour ? toQColor(*colour) : m_foreground, devicePenWidth(m_penWidth, m_dpr),
        Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void SurfaceWidget::markLineChanged(QPoint from, QPoint to)
{
    const int margin = (m_penWidth + 1) / 2 + 1; // half the pen, and one for rounding
    m_changed.markLine(from.x(), from.y(), to.x(), to.y(), margin);
}

void SurfaceWidget::markChanged(const QRect &logical)
{
    const int margin = (m_penWidth + 1) / 2 + 1; // half the pen, and one for rounding
    m_changed.mark(toPixelRect(logical.adjusted(-margin, -margin, margin, margin)));
}

QWidget *SurfaceWidget::control(Control which) const
{
    QWidget *widget = m_controls.value(which);
    if (!widget)
        throw RunError("Okno nemá ovládací prvek, který má běh ukázat.");
    return widget;
}

} // namespace fotonar
