// The picture every front end shows, drawn by the program itself: where lines, circles and fills
// land at each scale, pens, clipping, colours in either byte order, what goes to the screen.

#include "fieldtext.h"
#include "pixelsurface.h"
#include "run.h"
#include "runerror.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <map>
#include <thread>

using namespace fotonar;

namespace {

constexpr Colour kWhite = rgb(255, 255, 255);

struct Screen : PixelSurface::Screen
{
    std::vector<PixelRect> shown;
    std::map<int, Colour> desktop; ///< system colours the desktop has of its own

    void show(std::span<const PixelRect> rects) override
    {
        shown.insert(shown.end(), rects.begin(), rects.end());
    }
    void yield() override { }
    void showControl(Control) override { }
    void moveControl(Control, int, int) override { }
    std::chrono::nanoseconds frameInterval() override { return {}; }
    std::optional<Colour> systemColour(int entry) override
    {
        const auto own = desktop.find(entry);
        return own != desktop.end() ? own->second : PixelSurface::Screen::systemColour(entry);
    }
};

// Device rows (columns) of `colour` along the column (row) through device `at`.
int run(PixelSurface &surface, int x, int y, int dx, int dy, Colour colour)
{
    int count = 0;
    for (; surface.pixelAt(x, y) == colour; x += dx, y += dy)
        ++count;
    return count;
}

} // namespace

class TestPixelSurface : public QObject
{
    Q_OBJECT

private slots:
    void colourBytes_data();
    void colourBytes();
    void systemColoursComeFromTheDesktop();
    void levelLines_data();
    void levelLines();
    void slantedLines_data();
    void slantedLines();
    void circles_data();
    void circles();
    void farOffShapesAreClipped();
    void pictureIsMadeByTheFirstDrawingAndOnlyGrows();
    void aNewScaleDrawsThePictureAgain_data();
    void aNewScaleDrawsThePictureAgain();
    void onlyChangesGoToTheScreen_data();
    void onlyChangesGoToTheScreen();
    void picturesOutsideARunDoNotThinItsFrames();
};

void TestPixelSurface::colourBytes_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<bool>("bgra");
    QTest::addColumn<QByteArray>("bytes"); // in memory, lowest address first
    QTest::newRow("grey, RGBA") << quint32(kBackgroundGrey) << false
                                << QByteArray("\xC0\xC0\xC0\xFF");
    QTest::newRow("red is the low byte, RGBA")
        << quint32(0x0000FF) << false << QByteArray("\xFF\x00\x00\xFF", 4);
    QTest::newRow("red is the low byte, BGRA")
        << quint32(0x0000FF) << true << QByteArray("\x00\x00\xFF\xFF", 4);
    QTest::newRow("light green, BGRA")
        << quint32(kLightGreen) << true << QByteArray("\xC0\xFF\xC0\xFF");
    QTest::newRow("caption text, BGRA")
        << quint32(kCaptionText) << true << QByteArray("\xFF\xFF\xFF\xFF");
    QTest::newRow("workspace, RGBA")
        << quint32(kAppWorkspace) << false << QByteArray("\x80\x80\x80\xFF");
}

void TestPixelSurface::colourBytes()
{
    QFETCH(quint32, colour);
    QFETCH(bool, bgra);
    QFETCH(QByteArray, bytes);
    Screen screen;
    PixelSurface surface(screen, bgra ? PixelOrder::Bgra : PixelOrder::Rgba);
    surface.drawLine(10, 10, 20, 10, colour);
    const auto *pixel = reinterpret_cast<const char *>(
        surface.pixels() + std::ptrdiff_t(10) * surface.deviceWidth() + 15);
    QCOMPARE(QByteArray(pixel, 4), bytes);
    const Colour plain = isSystemColour(colour) ? *screen.systemColour(int(colour & 0xFF)) : colour;
    QCOMPARE(surface.pixelAt(15, 10), plain);
}

void TestPixelSurface::systemColoursComeFromTheDesktop()
{
    Screen screen;
    screen.desktop[9] = rgb(255, 255, 0); // a colour scheme's caption text
    PixelSurface surface(screen, PixelOrder::Bgra);
    surface.setFillStyle(FillStyle::Solid);
    surface.setFillColour(kCaptionText);
    surface.drawCircle(100, 100, 6, kDarkGrey);
    QCOMPARE(surface.pixelAt(100, 100), rgb(255, 255, 0));
    try {
        surface.drawLine(1, 1, 5, 9, systemColour(42));
        QFAIL("an entry the desktop lacks was drawn");
    } catch (const RunError &error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Neplatná systémová barva 42."));
    }
}

void TestPixelSurface::levelLines_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("pen");
    QTest::addColumn<int>("firstRow"); // device rows covered, first and count
    QTest::addColumn<int>("rows");
    QTest::newRow("1: whole pixel") << 1.0 << 10.0f << 1 << 10 << 1;
    QTest::newRow("1: a half rounds down the screen") << 1.0 << 290.5f << 1 << 291 << 1;
    QTest::newRow("1: just under a half") << 1.0 << 20.49f << 1 << 20 << 1;
    QTest::newRow("1: 2 px, the odd one below") << 1.0 << 290.5f << 2 << 290 << 2;
    QTest::newRow("1.25: 1 px is 2 device px") << 1.25 << 10.0f << 1 << 12 << 2;
    QTest::newRow("1.5: 2 px are 3") << 1.5 << 10.0f << 2 << 14 << 3;
    QTest::newRow("2: 3 px are 6") << 2.0 << 291.0f << 3 << 579 << 6;
}

void TestPixelSurface::levelLines()
{
    QFETCH(double, scale);
    QFETCH(float, y);
    QFETCH(int, pen);
    QFETCH(int, firstRow);
    QFETCH(int, rows);
    Screen screen;
    PixelSurface surface(screen, PixelOrder::Rgba);
    surface.resize(820, 580, scale);
    surface.setPenWidth(pen);
    surface.drawLine(10, y, 200, y, kDarkGrey);
    const int x = int(100 * scale);
    QCOMPARE(surface.pixelAt(x, firstRow - 1), kBackgroundGrey);
    QCOMPARE(run(surface, x, firstRow, 0, 1, kDarkGrey), rows);
    // Upright lines are the same rule turned: the time bars.
    surface.drawLine(300, 100, 300, 200, kLightGreen);
    QCOMPARE(run(surface, int(std::lround(300 * scale)) - int(std::ceil(pen * scale - 1e-9)) / 2,
                 int(150 * scale), 1, 0, kLightGreen),
        int(std::ceil(pen * scale - 1e-9)));
}

void TestPixelSurface::slantedLines_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("pen");
    QTest::newRow("1, 1 px") << 1.0 << 1;
    QTest::newRow("1, 3 px: an arrow") << 1.0 << 3;
    QTest::newRow("1.25, 1 px") << 1.25 << 1;
    QTest::newRow("1.5, 2 px") << 1.5 << 2;
    QTest::newRow("2, 3 px") << 2.0 << 3;
}

void TestPixelSurface::slantedLines()
{
    QFETCH(double, scale);
    QFETCH(int, pen);
    Screen screen;
    PixelSurface surface(screen, PixelOrder::Bgra);
    surface.resize(820, 580, scale);
    surface.setPenWidth(pen);
    surface.drawLine(100, 100, 200, 200, kDarkGrey);
    const auto device = [&](int logical) { return int(std::lround(logical * scale)); };
    // Both ends are drawn, no row between them is missed, and a level cut meets the pen: a
    // 45-degree line is between one and two pens wide across.
    QCOMPARE(surface.pixelAt(device(100), device(100)), kDarkGrey);
    QCOMPARE(surface.pixelAt(device(200), device(200)), kDarkGrey);
    const int wide = devicePenWidth(pen, scale);
    for (int y = device(100); y <= device(200); ++y) {
        int x = y - wide;
        while (x <= y + wide && surface.pixelAt(x, y) != kDarkGrey)
            ++x;
        const int across = run(surface, x, y, 1, 0, kDarkGrey);
        QVERIFY2(across >= wide && across <= 2 * wide, qPrintable(QString::number(y)));
    }
}

void TestPixelSurface::circles_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("solid");
    QTest::newRow("1, filled") << 1.0 << true;
    QTest::newRow("1, hollow") << 1.0 << false;
    QTest::newRow("1.25, filled") << 1.25 << true;
    QTest::newRow("1.5, hollow") << 1.5 << false;
    QTest::newRow("2, filled") << 2.0 << true;
}

void TestPixelSurface::circles()
{
    QFETCH(double, scale);
    QFETCH(bool, solid);
    Screen screen;
    PixelSurface surface(screen, PixelOrder::Rgba);
    surface.resize(820, 580, scale);
    surface.drawLine(80, 100, 120, 100, kLightGreen); // under the circle
    surface.setFillStyle(solid ? FillStyle::Solid : FillStyle::Transparent);
    surface.setFillColour(kCaptionText);
    surface.drawCircle(100, 100, 6, kDarkGrey);
    const int c = int(std::lround(100 * scale)), r = int(std::lround(6 * scale));
    QCOMPARE(surface.pixelAt(c, c), solid ? kWhite : kLightGreen);
    for (const auto &[dx, dy] : {std::pair {r, 0}, {-r, 0}, {0, r}, {0, -r}})
        QCOMPARE(surface.pixelAt(c + dx, c + dy), kDarkGrey); // the outline on the radius
    QCOMPARE(surface.pixelAt(c + r + 2, c - 3), kBackgroundGrey);
    QCOMPARE(surface.pixelAt(c + r - 1, c + r - 1), kBackgroundGrey); // past the curve
    // The outline is as thick as the pen, half of it either side of the radius.
    surface.setPenWidth(3);
    surface.drawCircle(300, 100, 20, kDarkGrey);
    const int x = int(std::lround(300 * scale));
    int y = int(std::lround(70 * scale));
    while (surface.pixelAt(x, y) != kDarkGrey)
        ++y;
    const int thickness = run(surface, x, y, 0, 1, kDarkGrey);
    QVERIFY2(thickness == devicePenWidth(3, scale) || thickness == devicePenWidth(3, scale) + 1,
        qPrintable(QString::number(thickness)));
}

void TestPixelSurface::farOffShapesAreClipped()
{
    // What a wild distance could ask for: drawn where it meets the picture, at once, rather
    // than walked pixel by pixel for millions of pixels off the window.
    Screen screen;
    PixelSurface surface(screen, PixelOrder::Bgra);
    surface.resize(820, 580, 2);
    surface.drawLine(-1e30f, -1e30f, 1e30f, 1e30f, kDarkGrey);
    surface.drawLine(-3.0e38f, 100, 3.0e38f, 100, kDarkGrey);
    QCOMPARE(surface.pixelAt(800, 800), kDarkGrey);
    QCOMPARE(surface.pixelAt(1000, 200), kDarkGrey);
    surface.setFillStyle(FillStyle::Solid);
    surface.setFillColour(kLightGreen);
    surface.drawCircle(400, 300, 1e30f, kDarkGrey); // the whole picture lies inside
    QCOMPARE(surface.pixelAt(0, 0), kLightGreen);
    QCOMPARE(surface.pixelAt(1639, 1159), kLightGreen);
    surface.drawCircle(-1e30f, -1e30f, 1e30f, kDarkGrey);
    surface.drawCircle(5000, 300, 4200, kDarkGrey); // its left edge crosses the picture
    QCOMPARE(surface.pixelAt(1600, 600), kDarkGrey);
    QCOMPARE(surface.pixelAt(1590, 600), kLightGreen);
}

void TestPixelSurface::pictureIsMadeByTheFirstDrawingAndOnlyGrows()
{
    Screen screen;
    PixelSurface small(screen, PixelOrder::Rgba);
    small.resize(300, 200, 1.5);
    QVERIFY(!small.pixels()); // start-up makes no picture
    small.drawLine(1, 1, 9, 9, kDarkGrey);
    QCOMPARE(small.deviceWidth(), 1202); // at least the scene's extent, 801 logical pixels

    PixelSurface surface(screen, PixelOrder::Bgra);
    surface.resize(1000, 900, 1);
    surface.resize(1000, 900, 2); // a denser screen before anything was drawn
    surface.drawLine(850, 760, 880, 760, kDarkGrey);
    QCOMPARE(surface.deviceWidth(), 2000);
    surface.resize(300, 200, 2); // the window shrinks and grows again: what it hid is kept
    surface.resize(1000, 900, 2);
    QCOMPARE(surface.pixelAt(1720, 1520), kDarkGrey);
}

void TestPixelSurface::aNewScaleDrawsThePictureAgain_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::newRow("100 % to 200 %") << 1.0 << 2.0;
    QTest::newRow("a phone's window narrowed to nothing and back") << 2.0 << 0.01;
    QTest::newRow("125 % to 150 %") << 1.25 << 1.5;
}

void TestPixelSurface::aNewScaleDrawsThePictureAgain()
{
    // The window moves to another screen, or the browser's shrinks and grows again: the picture
    // is the one the runs would have drawn at the new scale, pixel for pixel, not a resampling.
    QFETCH(double, from);
    QFETCH(double, to);
    FieldTexts fields(",");
    fields.set(Field::nIndex, "2");
    fields.set(Field::nVzdalenost, "400");
    fields.set(Field::nSpomaleni, "1");
    Screen screen;
    PixelSurface moved(screen, PixelOrder::Rgba), drawn(screen, PixelOrder::Rgba);
    moved.resize(820, 580, from);
    Run(moved, fields).execute();
    fields.set(Field::nVzdalenost, "100");
    Run(moved, fields).execute(); // over the first run's picture
    moved.resize(820, 580, to);
    moved.resize(820, 580, from);
    drawn.resize(820, 580, from);
    Run(drawn, fields).execute();
    QCOMPARE(moved.deviceWidth(), drawn.deviceWidth());
    QCOMPARE(moved.deviceHeight(), drawn.deviceHeight());
    QVERIFY(std::memcmp(moved.pixels(), drawn.pixels(),
                std::size_t(drawn.deviceWidth()) * std::size_t(drawn.deviceHeight()) * 4)
        == 0);
}

void TestPixelSurface::onlyChangesGoToTheScreen_data()
{
    QTest::addColumn<double>("scale");
    QTest::newRow("the design's size") << 1.0;
    QTest::newRow("a 4K whiteboard") << 4.0; // a line's band as narrow as at the design's size
}

void TestPixelSurface::onlyChangesGoToTheScreen()
{
    QFETCH(double, scale);
    Screen screen;
    PixelSurface pixels(screen, PixelOrder::Rgba);
    pixels.resize(820, 580, scale);
    pixels.flush();
    QVERIFY(screen.shown.empty()); // no picture yet: the window's grey
    pixels.drawLine(1, 1, 2, 3, kDarkGrey);
    pixels.invalidate();
    pixels.flush();
    // The whole picture, 731 logical rows: a rectangle a row of 32 device pixels.
    QCOMPARE(screen.shown.size(), std::size_t(std::ceil(731 * scale / 32)));
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
    const double reach = 32 + scale; // a tile and the pen's width, device pixels
    for (const PixelRect &rect : screen.shown) // within the tiles around the line
        QVERIFY(rect.left >= 100 * scale - reach && rect.right <= 140 * scale + reach
            && rect.top >= 100 * scale - reach && rect.bottom <= 130 * scale + reach);
}

void TestPixelSurface::picturesOutsideARunDoNotThinItsFrames()
{
    // A new scale after the first frame costs a browser a new texture; the run's paths, each
    // longer than a frame, still get a frame each.
    struct SlowSecondScreen : Screen
    {
        void show(std::span<const PixelRect> rects) override
        {
            if (++shows == 2)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            Screen::show(rects);
        }
        int shows = 0;
    } screen;
    PixelSurface pixels(screen, PixelOrder::Rgba);
    pixels.resize(820, 580, 1);
    pixels.drawLine(1, 1, 2, 3, kDarkGrey);
    pixels.present();
    pixels.resize(820, 580, 2);
    pixels.showChanges();
    const int before = pixels.framesShown();
    for (int path = 0; path < 10; ++path) {
        pixels.drawLine(float(20 + path * 40), 100, float(20 + path * 40), 200, kDarkGrey);
        pixels.present();
        std::this_thread::sleep_for(std::chrono::milliseconds(5)); // the path's pause
    }
    QCOMPARE(pixels.framesShown() - before, 10);
}

QTEST_APPLESS_MAIN(TestPixelSurface)
#include "tst_pixelsurface.moc"
