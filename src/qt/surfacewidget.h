#pragma once

#include "changedtiles.h"
#include "devicepixels.h"
#include "framepacer.h"
#include "surface.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <functional>
#include <map>
#include <tuple>

namespace fotonar {

/// The window's drawing area: the run's Surface on Qt. Everything is drawn into a QImage kept at
/// the screen's device pixel ratio, so the picture survives being covered, minimised or resized
/// and stays sharp on high-density screens; paintEvent only copies the changed part to the
/// screen. Drawing is aliased, with every coordinate rounded to a whole logical pixel.
/// present() puts the changes on the screen on the cadence of the window's screen (FramePacer);
/// flush() at once.
/// The labels and images that a run places are sibling widgets registered with addControl().
class SurfaceWidget : public QWidget, public Surface
{
    Q_OBJECT

public:
    explicit SurfaceWidget(QWidget *parent = nullptr);

    /// The colour of lines and circles drawn without a colour of their own.
    void setForeground(Colour colour);
    /// Lets the run show and move `widget` under the name `control`.
    void addControl(Control control, QWidget *widget);

    /// The picture in device pixels, pictureRatio() of them to a logical pixel; it covers at
    /// least kSceneExtentWidth x kSceneExtentHeight logical pixels and the whole widget.
    const QImage &picture()
    {
        ensurePicture();
        fillPending();
        return m_image;
    }
    qreal pictureRatio() const { return m_dpr; }
    /// How many times the surface has put changes on the screen since it was made.
    int framesFlushed() const { return m_framesFlushed; }
    /// The least time between two frames: one refresh of the window's screen (60 Hz where the
    /// screen does not say), in nanoseconds.
    qint64 frameInterval() const;

    void setPenWidth(int pixels) override;
    void setFillStyle(FillStyle style) override;
    void setFillColour(Colour colour) override;
    void drawLine(float x1, float y1, float x2, float y2, std::optional<Colour> colour) override;
    void drawCircle(float x, float y, float r, std::optional<Colour> colour) override;
    void showControl(Control control) override;
    void moveControl(Control control, float left, float top) override;
    void present() override;
    void flush() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPainter &picturePainter();
    QPainter &picturePainter(const QPen &pen, const QBrush &brush);
    void fillLater(const QRect &device, const QColor &colour);
    /// A shape drawn once, to be stamped wherever it is drawn again.
    struct Stamp
    {
        QImage image; ///< ARGB32 premultiplied
        bool cutOut = false; ///< every pixel either opaque or clear: copied, not blended
    };
    const Stamp &circleStamp(int deviceRadius, const QPen &outline, const QBrush &fill);
    struct LineStamp
    {
        Stamp stamp;
        QPoint start; ///< where in the image the line starts
    };
    const LineStamp &lineStamp(QPoint span, const QPen &pen);
    static Stamp stampOf(QSize size, const QPen &pen, const QBrush &brush,
        const std::function<void(QPainter &)> &draw);
    void stampAt(QPoint topLeft, const Stamp &stamp);
    void prepareToWritePixels();
    void fillPending();
    void fill(const FillPile::Fill &pile);
    void finishDrawing();
    void ensurePicture();
    QPoint toDevice(int x, int y) const;
    QPen pen(std::optional<Colour> colour) const;
    void markLineChanged(QPoint from, QPoint to);
    void markChanged(const QRect &logical);
    QWidget *control(Control control) const;

    QImage m_image;
    QPainter m_painter; ///< open on m_image between drawing and the next present
    FillPile m_pendingFills; ///< device pixels still to fill
    struct CircleStamp
    {
        Stamp stamp;
        int radius = 0;
        QPen outline;
        QBrush fill;
    } m_circleStamp; ///< the last circle drawn, ready to stamp again
    /// Short lines in wide pens, by span, pen width and colour.
    using LineStampKey = std::tuple<int, int, int, QRgb>;
    std::map<LineStampKey, LineStamp> m_lineStamps;
    qreal m_dpr = 1;
    int m_penWidth = 1;
    FillStyle m_fillStyle = FillStyle::Transparent;
    QColor m_fillColour = Qt::black;
    QColor m_foreground = Qt::black;
    ChangedTiles m_changed;
    QHash<Control, QWidget *> m_controls;
    FramePacer m_pacer;
    int m_framesFlushed = 0;
};

} // namespace fotonar
