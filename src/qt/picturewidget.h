#pragma once

#include "pixelsurface.h"

#include <QWidget>

namespace fotonar {

/// The window's drawing area: shows the run's picture, the shared PixelSurface, on Qt. It covers
/// the design's area at the window's zoom, and the surface draws at the zoom times the screen's
/// pixel ratio into memory laid out as Qt's RGB32; paintEvent copies the changed rectangles to
/// the screen pixel for pixel, so the picture survives covering, minimising and resizing and
/// stays sharp at any size and density. While a run yields, Qt paints and delivers its events.
/// The labels and images that a run places are its sibling widgets, named as the layout names
/// them; the window places them.
class PictureWidget : public QWidget, private PixelSurface::Screen
{
    Q_OBJECT

public:
    explicit PictureWidget(QWidget *parent = nullptr);

    PixelSurface &surface() { return m_surface; }
    /// The picture so far in device pixels, pictureRatio() of them to a logical pixel; null
    /// before the first drawing.
    QImage picture();
    qreal pictureRatio() const { return m_surface.scale(); }
    /// The window shows the design `zoom` times its size (1 at the preferred size).
    void setZoom(double zoom);

signals:
    /// A run put a label or image at (left, top), pixels of the design.
    void controlMoved(Control control, int left, int top);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void show(std::span<const PixelRect> rectangles) override;
    void yield() override;
    void showControl(Control which) override;
    void moveControl(Control which, int left, int top) override;
    std::chrono::nanoseconds frameInterval() override;
    QWidget *control(Control which) const;
    void followScreen();

    PixelSurface m_surface;
    double m_zoom = 1;
};

} // namespace fotonar
