// The drawing surface: where lines and circles land, colours, and the picture that outlives
// covering, hiding and resizing.

#include "colour.h"
#include "runerror.h"
#include "surfacewidget.h"
#include "systemcolours.h"
#include "thinline.h"

#include <QLabel>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

using namespace fotonar;

namespace {

const QColor kGrey(192, 192, 192);
const QColor kDark(64, 64, 64);

QColor at(SurfaceWidget &surface, int x, int y)
{
    return surface.picture().pixelColor(x, y);
}

} // namespace

class TestSurface : public QObject
{
    Q_OBJECT

private slots:
    void colours_data();
    void colours();
    void unknownSystemColourFails();
    void horizontalLine_data();
    void horizontalLine();
    void thinLineAsQtDrawsIt_data();
    void thinLineAsQtDrawsIt();
    void wideLineAsQtDrawsIt_data();
    void wideLineAsQtDrawsIt();
    void filledCircle();
    void transparentCircle();
    void circlesAsQtDrawsThem();
    void foregroundColour();
    void pictureSurvivesHideAndShow();
    void pictureSurvivesShrinkAndGrow();
    void controlsShowAndMove();
    void unknownControlFails();
    void hugeCoordinatesAreHarmless();
};

void TestSurface::colours_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("grey") << quint32(kBackgroundGrey) << QColor(192, 192, 192);
    QTest::newRow("light green") << quint32(kLightGreen) << QColor(192, 255, 192);
    QTest::newRow("red is the low byte") << quint32(0x0000FF) << QColor(255, 0, 0);
    QTest::newRow("blue is the high byte") << quint32(0xFF0000) << QColor(0, 0, 255);
    QTest::newRow("rgb() green") << quint32(rgb(0, 255, 0)) << QColor(0, 255, 0);
    QTest::newRow("caption text") << quint32(kCaptionText) << QColor(255, 255, 255);
    QTest::newRow("application workspace") << quint32(kAppWorkspace) << QColor(128, 128, 128);
}

void TestSurface::colours()
{
    QFETCH(quint32, colour);
    QFETCH(QColor, expected);
    QCOMPARE(toQColor(colour), expected);
}

void TestSurface::unknownSystemColourFails()
{
    QVERIFY_THROWS_EXCEPTION(RunError, toQColor(systemColour(42)));
}

void TestSurface::horizontalLine_data()
{
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("row");
    QTest::newRow("whole pixel") << 10.0f << 10;
    QTest::newRow("half pixel rounds down the screen") << 290.5f << 291;
    QTest::newRow("just under a half") << 20.49f << 20;
}

void TestSurface::horizontalLine()
{
    QFETCH(float, y);
    QFETCH(int, row);

    SurfaceWidget surface;
    surface.setPenWidth(1);
    surface.drawLine(10, y, 20, y, kDarkGrey);
    for (int x = 10; x <= 20; ++x)
        QCOMPARE(at(surface, x, row), kDark);
    QCOMPARE(at(surface, 15, row - 1), kGrey);
    QCOMPARE(at(surface, 15, row + 1), kGrey);
    QCOMPARE(at(surface, 9, row), kGrey);
    QCOMPARE(at(surface, 22, row), kGrey);
}

void TestSurface::thinLineAsQtDrawsIt_data()
{
    QTest::addColumn<int>("reach"); // the largest distance between the two ends, per axis
    QTest::newRow("short, every octant and single points") << 6;
    QTest::newRow("as long as a run's legs") << 700;
}

void TestSurface::thinLineAsQtDrawsIt()
{
    // The fast one-pixel line must set exactly the pixels Qt's own would, or the picture would
    // depend on which of the two drew it.
    QFETCH(int, reach);
    QRandomGenerator random(reach);
    QImage expected(760, 760, QImage::Format_RGB32);
    QImage drawn(expected.size(), QImage::Format_RGB32);
    const QPen pen(kDark, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (int i = 0; i < 1000; ++i) {
        const QPoint from(20 + random.bounded(reach), 20 + random.bounded(reach));
        const QPoint to(20 + random.bounded(reach), 20 + random.bounded(reach));
        expected.fill(kGrey);
        drawn.fill(kGrey);
        QPainter painter(&expected);
        painter.setPen(pen);
        painter.drawLine(from, to);
        painter.end();
        drawThinLine(drawn, from, to, kDark.rgb());
        if (drawn != expected)
            QFAIL(qPrintable(QStringLiteral("(%1, %2) to (%3, %4)")
                                 .arg(from.x())
                                 .arg(from.y())
                                 .arg(to.x())
                                 .arg(to.y())));
    }
}

void TestSurface::wideLineAsQtDrawsIt_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("reach"); // the largest span per axis
    QTest::newRow("arrows: 3 px, short, shapes met again") << 3 << 8;
    QTest::newRow("2 px, as long as stamps go") << 2 << 64;
    QTest::newRow("3 px, longer than stamps go") << 3 << 300;
}

void TestSurface::wideLineAsQtDrawsIt()
{
    // Short wide lines are stamped from the first one of their shape: the picture must be the
    // one Qt draws, in either of two colours, wherever the line lies.
    QFETCH(int, width);
    QFETCH(int, reach);
    QRandomGenerator random(width * 1000 + reach);
    SurfaceWidget surface;
    surface.setPenWidth(width);
    QImage expected(surface.picture().size(), QImage::Format_RGB32);
    expected.fill(kGrey);
    QPainter painter(&expected);
    for (int i = 0; i < 400; ++i) {
        const QPoint from(310 + random.bounded(-300, 300), 360 + random.bounded(-300, 300));
        const QPoint to
            = from + QPoint(random.bounded(-reach, reach + 1), random.bounded(-reach, reach + 1));
        if (from.x() == to.x() || from.y() == to.y())
            continue; // upright and level lines are filled, not stroked
        const Colour colour = i % 2 ? kDarkGrey : kLightGreen;
        painter.setPen(QPen(toQColor(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(from, to);
        surface.drawLine(float(from.x()), float(from.y()), float(to.x()), float(to.y()), colour);
        if (i % 40 == 39)
            QCOMPARE(surface.picture().convertToFormat(QImage::Format_RGB32), expected);
    }
}

void TestSurface::filledCircle()
{
    SurfaceWidget surface;
    surface.setPenWidth(1);
    surface.setFillStyle(FillStyle::Solid);
    surface.setFillColour(kCaptionText);
    surface.drawCircle(100, 100, 6, kDarkGrey);
    QCOMPARE(at(surface, 100, 100), QColor(Qt::white));
    QCOMPARE(at(surface, 103, 101), QColor(Qt::white));
    QCOMPARE(at(surface, 106, 100), kDark); // the outline on the radius
    QCOMPARE(at(surface, 94, 100), kDark);
    QCOMPARE(at(surface, 100, 106), kDark);
    QCOMPARE(at(surface, 109, 100), kGrey);
    QCOMPARE(at(surface, 105, 105), kGrey); // outside, past the curve
}

void TestSurface::transparentCircle()
{
    SurfaceWidget surface;
    surface.setPenWidth(1);
    surface.drawLine(90, 100, 110, 100, kLightGreen);
    surface.drawCircle(100, 100, 6, kDarkGrey); // the window starts with a transparent fill
    QCOMPARE(at(surface, 100, 100), QColor(192, 255, 192));
    QCOMPARE(at(surface, 100, 94), kDark);
}

void TestSurface::circlesAsQtDrawsThem()
{
    // Circles are stamped from the last one drawn, clipped where they cross the picture's edge:
    // the picture must be the one Qt draws, filled or hollow.
    QRandomGenerator random(42);
    SurfaceWidget surface;
    surface.setPenWidth(1);
    const QSize size = surface.picture().size();
    QImage expected(size, QImage::Format_RGB32);
    expected.fill(kGrey);
    QPainter painter(&expected);
    for (int i = 0; i < 300; ++i) {
        const QPoint centre(random.bounded(-8, size.width() + 8), random.bounded(-8, 40));
        const int radius = 1 + i % 7;
        const bool filled = i % 3 == 0;
        surface.setFillStyle(filled ? FillStyle::Solid : FillStyle::Transparent);
        surface.setFillColour(kCaptionText);
        const Colour colour = i % 2 ? kDarkGrey : kLightGreen;
        painter.setPen(QPen(toQColor(colour), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(filled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
        painter.drawEllipse(centre, radius, radius);
        surface.drawCircle(float(centre.x()), float(centre.y()), float(radius), colour);
    }
    QCOMPARE(surface.picture().convertToFormat(QImage::Format_RGB32), expected);
}

void TestSurface::foregroundColour()
{
    SurfaceWidget surface;
    surface.setForeground(kAppWorkspace);
    surface.setPenWidth(2);
    surface.drawLine(50, 30, 50, 60, std::nullopt);
    QCOMPARE(at(surface, 50, 45), QColor(128, 128, 128));
}

void TestSurface::pictureSurvivesHideAndShow()
{
    SurfaceWidget surface;
    surface.resize(400, 300);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    surface.setPenWidth(3);
    surface.drawLine(20, 150, 380, 150, kDarkGrey);
    surface.present();
    surface.hide();
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    const QImage shown = surface.grab().toImage();
    QCOMPARE(shown.pixelColor(200, 150), kDark);
    QCOMPARE(shown.pixelColor(200, 140), kGrey);
}

void TestSurface::pictureSurvivesShrinkAndGrow()
{
    SurfaceWidget surface;
    surface.resize(900, 800);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    surface.setPenWidth(1);
    surface.drawLine(850, 760, 880, 760, kDarkGrey); // beyond the least picture size
    surface.resize(300, 200);
    surface.resize(900, 800);
    const QImage shown = surface.grab().toImage();
    QCOMPARE(shown.pixelColor(860, 760), kDark);
}

void TestSurface::controlsShowAndMove()
{
    QWidget window;
    SurfaceWidget surface(&window);
    auto *label = new QLabel(QStringLiteral("Detektor"), &window);
    label->hide();
    surface.addControl(Control::labDetektor, label);
    window.show();
    surface.showControl(Control::labDetektor);
    surface.moveControl(Control::labDetektor, 115, 65.5f);
    QVERIFY(label->isVisible());
    QCOMPARE(label->pos(), QPoint(115, 66));
}

void TestSurface::unknownControlFails()
{
    SurfaceWidget surface;
    QVERIFY_THROWS_EXCEPTION(RunError, surface.showControl(Control::imaBeta));
}

void TestSurface::hugeCoordinatesAreHarmless()
{
    SurfaceWidget surface;
    surface.setPenWidth(1);
    surface.drawLine(-3.0e38f, 100, 3.0e38f, 100, kDarkGrey);
    surface.drawCircle(-1e30f, -1e30f, 1e30f, kDarkGrey);
    QCOMPARE(at(surface, 400, 100), kDark);
}

QTEST_MAIN(TestSurface)
#include "tst_surface.moc"
