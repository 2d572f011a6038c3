// The browser's surface, which draws its own pixels: the same picture as the desktop's Qt
// surface for the same runs, at the scale the test runs at (QT_SCALE_FACTOR: 1, 1.5 and 2), and
// only the changed parts sent to the screen.

#include "fieldtext.h"
#include "pixelsurface.h"
#include "run.h"
#include "runerror.h"
#include "surfacewidget.h"

#include <QTest>

#include <map>
#include <memory>

using namespace fotonar;

namespace {

struct Screen
{
    std::vector<PixelRect> shown;
    int yields = 0;
    std::map<Control, std::pair<int, int>> controls;
};

PixelSurface::Callbacks callbacksInto(Screen &screen)
{
    return {[&](const std::vector<PixelRect> &rects) {
                screen.shown.insert(screen.shown.end(), rects.begin(), rects.end());
            },
        [&] { ++screen.yields; }, [](Control) {},
        [&](Control control, int left, int top) {
            screen.controls[control] = {left, top};
        },
        [] { return std::chrono::nanoseconds(0); }};
}

FieldTexts fieldsFor(const char *index, const char *distance)
{
    FieldTexts fields(",");
    fields.set(Field::nIndex, index);
    fields.set(Field::nVzdalenost, distance);
    fields.set(Field::nSpomaleni, "1");
    return fields;
}

// Pixels of one colour in `a` with no pixel of that colour within one pixel in `b`.
int unmatched(PixelSurface &a, const QImage &b, QRgb colour)
{
    int missing = 0;
    for (int y = 1; y + 1 < b.height(); ++y) {
        for (int x = 1; x + 1 < b.width(); ++x) {
            if (a.pixelAt(x, y)
                != ((colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF)))
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = (b.pixel(x + dx, y + dy) & 0xFFFFFF) == (colour & 0xFFFFFF);
            missing += !near;
        }
    }
    return missing;
}

} // namespace

class TestPixelSurface : public QObject
{
    Q_OBJECT

private slots:
    void samePictureAsTheDesktop_data();
    void samePictureAsTheDesktop();
    void onlyChangesGoToTheScreen();
    void controlsArePlacedInLogicalPixels();
    void unknownSystemColourFails();
};

void TestPixelSurface::samePictureAsTheDesktop_data()
{
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("distance");
    QTest::newRow("defaults") << "2"
                              << "400";
    QTest::newRow("1,5 and 100") << "1,5"
                                 << "100";
    QTest::newRow("2,5 and 100") << "2,5"
                                 << "100";
}

void TestPixelSurface::samePictureAsTheDesktop()
{
    QFETCH(QString, index);
    QFETCH(QString, distance);
    const FieldTexts fields = fieldsFor(qPrintable(index), qPrintable(distance));

    QWidget window;
    window.resize(820, 580);
    SurfaceWidget desktop(&window);
    desktop.resize(820, 580);
    desktop.setForeground(kAppWorkspace);
    std::vector<std::unique_ptr<QWidget>> labels;
    for (int control = 0; control <= int(Control::labRadiusvektory); ++control)
        desktop.addControl(Control(control), labels.emplace_back(new QWidget(&window)).get());
    Run(desktop, fields).execute();
    const QImage picture = desktop.picture();
    const double scale = desktop.pictureRatio();

    Screen screen;
    PixelSurface pixels(callbacksInto(screen));
    pixels.resize(820, 580, scale);
    pixels.setForeground(kAppWorkspace);
    Run(pixels, fields).execute();

    // The scene's fills are identical; where slanted lines fan out densely, a pixel of one may
    // be set a pixel further than in the other. A misplaced line lies hundreds of pixels apart.
    const QRgb colours[] = {qRgb(64, 64, 64), qRgb(0, 255, 0), qRgb(255, 255, 255),
        qRgb(128, 128, 128), qRgb(192, 255, 192)};
    for (const QRgb colour : colours) {
        const int missing = unmatched(pixels, picture, colour);
        QVERIFY2(missing <= 100 * scale * scale,
            qPrintable(QStringLiteral("%1 pixels of %2 have no match on the desktop")
                           .arg(missing)
                           .arg(colour, 6, 16)));
    }
    // The probes of the desktop's end-to-end tests, at the scale.
    const auto probe = [&](int x, int y) { return pixels.pixelAt(int(x * scale), int(y * scale)); };
    QCOMPARE(probe(61, 470), kLightGreen);
    QCOMPARE(probe(400, 291), kDarkGrey);
    QCOMPARE(probe(505, 444), rgb(255, 255, 255)); // the source's fill
}

void TestPixelSurface::onlyChangesGoToTheScreen()
{
    Screen screen;
    PixelSurface pixels(callbacksInto(screen));
    pixels.resize(820, 580, 1);
    pixels.flush();
    QVERIFY(screen.shown.empty()); // a new screen shows the grey of a new picture
    QCOMPARE(screen.yields, 1);
    pixels.drawLine(1, 1, 2, 3, kDarkGrey);
    pixels.invalidate();
    pixels.flush();
    QCOMPARE(screen.shown.size(), std::size_t(23)); // the whole picture: a run a tile row
    screen.shown.clear();
    pixels.setPenWidth(1);
    for (int y = 64; y < 128; ++y) // no change: grey on grey, as a run's erase
        pixels.drawLine(64, float(y), 191, float(y), kBackgroundGrey);
    pixels.flush();
    QVERIFY(screen.shown.empty());
    QCOMPARE(pixels.framesShown(), 1);
    pixels.drawLine(100, 100, 140, 130, kDarkGrey);
    pixels.flush();
    QCOMPARE(pixels.framesShown(), 2);
    QVERIFY(!screen.shown.empty());
    for (const PixelRect &rect : screen.shown) // within the tiles around the line
        QVERIFY(rect.left >= 64 && rect.right < 192 && rect.top >= 64 && rect.bottom < 160);
    QCOMPARE(pixels.pixelAt(140, 130), kDarkGrey);
}

void TestPixelSurface::controlsArePlacedInLogicalPixels()
{
    Screen screen;
    PixelSurface pixels(callbacksInto(screen));
    pixels.resize(820, 580, 2);
    Run(pixels, fieldsFor("2", "400")).execute();
    const std::pair<int, int> alpha {416, 191}, beta {441, 391};
    QCOMPARE(screen.controls[Control::imaAlfy], alpha);
    QCOMPARE(screen.controls[Control::imaBeta], beta);
}

void TestPixelSurface::unknownSystemColourFails()
{
    Screen screen;
    PixelSurface pixels(callbacksInto(screen));
    pixels.resize(820, 580, 1);
    QVERIFY_THROWS_EXCEPTION(RunError, pixels.drawLine(1, 1, 5, 9, systemColour(42)));
}

QTEST_MAIN(TestPixelSurface)
#include "tst_pixelsurface.moc"
