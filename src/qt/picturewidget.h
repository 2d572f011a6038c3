#pragma once

#include "pixelsurface.h"

#include <QWidget>

namespace fotonar {

/// The window's drawing area: shows the run's picture, the shared PixelSurface, on Qt. The
/// surface draws into memory laid out as Qt's RGB32; paintEvent copies the changed rectangles
/// to the screen at the screen's pixel ratio, so the picture survives covering, minimising and
/// resizing and stays sharp on high-density screens. While a run yields, Qt paints and delivers
/// its events. The labels and images that a run places are its sibling widgets, named as the
/// layout names them.
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

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void show(std::span<const PixelRect> rectangles) override;
    void yield() override;
    void showControl(Control control) override;
    void moveControl(Control control, int left, int top) override;
    std::chrono::nanoseconds frameInterval() override;
    QWidget *control(Control control) const;
    void followScreen();

    PixelSurface m_surface;
};

} // namespace fotonar
