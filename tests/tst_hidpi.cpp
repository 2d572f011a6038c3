// The picture at fractional and whole device pixel ratios (run with QT_SCALE_FACTOR 1.25, 1.5
// and 2): complete, sharp, and in place.

#include "bitmapview.h"
#include "fotonar.h"
#include "picturewidget.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>

#include <cmath>

using namespace fotonar;

namespace {

const QColor kGrey(192, 192, 192);
const QColor kMedium(192, 255, 192);

} // namespace

class TestHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pictureFollowsTheScale();
    void eraseLeavesNoRows();
    void mediumHasNoGaps();
    void imagesStaySharp();

private:
    QColor at(double logicalX, double logicalY) const
    {
        return m_window->pictureWidget()->picture().pixelColor(
            int(std::lround(logicalX * m_scale)), int(std::lround(logicalY * m_scale)));
    }
    void start(const char *distance);

    std::unique_ptr<Fotonar> m_window;
    double m_scale = 1;
};

void TestHiDpi::initTestCase()
{
    m_scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    m_window = std::make_unique<Fotonar>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    start("op400");
    start("op100"); // the second run erases the first one's detector
}

void TestHiDpi::start(const char *distance)
{
    auto *option = m_window->findChild<QRadioButton *>(QLatin1String(distance));
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseClick(
        m_window->findChild<QPushButton *>(QStringLiteral("cmdStart")), Qt::LeftButton);
}

void TestHiDpi::pictureFollowsTheScale()
{
    PictureWidget *surface = m_window->pictureWidget();
    QCOMPARE(surface->pictureRatio(), m_window->devicePixelRatioF());
    QVERIFY(qFuzzyCompare(surface->pictureRatio(), m_scale));
    QVERIFY(surface->picture().width() >= int(801 * m_scale));
    QCOMPARE(at(415, 88), QColor(Qt::white)); // the detector
    QCOMPARE(at(636, 136), QColor(0, 255, 0)); // the resultant for distance 100
    QCOMPARE(at(61, 470), kMedium);
}

void TestHiDpi::eraseLeavesNoRows()
{
    // Every device pixel where the first run's detector stood is background again.
    const QImage picture = m_window->pictureWidget()->picture();
    const QRect old(int(105 * m_scale), int(82 * m_scale), int(22 * m_scale), int(18 * m_scale));
    for (int y = old.top(); y <= old.bottom(); ++y)
        for (int x = old.left(); x <= old.right(); ++x)
            QCOMPARE(picture.pixelColor(x, y), kGrey);
}

void TestHiDpi::mediumHasNoGaps()
{
    // Between two time bars, below the legs: every device row of the band is light green.
    const QImage picture = m_window->pictureWidget()->picture();
    const int x = int(std::lround(61 * m_scale));
    for (int y = int(std::ceil(300 * m_scale)); y <= int(480 * m_scale); ++y)
        QCOMPARE(picture.pixelColor(x, y), kMedium);
}

void TestHiDpi::imagesStaySharp()
{
    for (const char *name : {"imaAlfy", "imaBeta"}) {
        auto *view = m_window->findChild<BitmapView *>(QLatin1String(name));
        QVERIFY(view->isVisible());
        const QImage shown = view->grab().toImage();
        QCOMPARE(shown.size(), (QSizeF(view->image().size()) * m_scale).toSize());
        QSet<QRgb> colours;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                colours.insert(shown.pixel(x, y));
        QCOMPARE(colours.size(), 2); // the glyph and white, nothing smoothed in between
    }
}

QTEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
