#pragma once

#include <QImage>
#include <QWidget>

namespace fotonar {

/// Shows a bitmap at its natural size in logical pixels. On a high-density screen every bitmap
/// pixel becomes a block of whole device pixels, never a smoothed blur.
class BitmapView : public QWidget
{
    Q_OBJECT

public:
    /// Loads `resource`; the widget takes the bitmap's size.
    explicit BitmapView(const QString &resource, QWidget *parent = nullptr);

    const QImage &image() const { return m_image; }
    QSize sizeHint() const override { return m_image.size(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};

} // namespace fotonar
