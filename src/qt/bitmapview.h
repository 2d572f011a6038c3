#pragma once

#include <QImage>
#include <QWidget>

namespace fotonar {

/// Shows a bitmap filling the widget, which the window sizes to the bitmap at its zoom. Every
/// bitmap pixel becomes a block of whole device pixels, never a smoothed blur.
class BitmapView : public QWidget
{
    Q_OBJECT

public:
    /// Shows `resource`, read when first needed: the images stay hidden until a run completes,
    /// and the first image read costs a millisecond of the start-up.
    explicit BitmapView(QString resource, QWidget *parent = nullptr);

    const QImage &image() const;
    QSize sizeHint() const override { return image().size(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_resource;
    mutable QImage m_image;
};

} // namespace fotonar
