// Whole runs in the real window on the offscreen platform: what ends up on the screen, and how
// the window behaves while a run keeps it busy.

#include "fotonar.h"
#include "picturewidget.h"
#include "run.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>

using namespace fotonar;

namespace {

const QColor kGrey(192, 192, 192);
const QColor kGreenMedium(192, 255, 192);
const QColor kDark(64, 64, 64);
const QColor kGlyph(16, 24, 16);

} // namespace

class TestRendering : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaultRunPicture();
    void labelsRevealedInPlace();
    void secondRunRepaintsAndMovesLabelsAtTheEnd();
    void closeDuringRunWaitsForTheEnd();
    void drawingShowsDuringTheRun();
    void lastDrawingIsOnScreenWhenStartReturns_data();
    void lastDrawingIsOnScreenWhenStartReturns();
    void slowRunGetsAFrameForEveryPath();

private:
    QImage screen() const { return m_window->grab().toImage(); }
    QWidget *control(const char *name) const
    {
        return m_window->findChild<QWidget *>(QLatin1String(name));
    }
    void start()
    {
        QTest::mouseClick(static_cast<QPushButton *>(control("cmdStart")), Qt::LeftButton);
    }

    std::unique_ptr<Fotonar> m_window;
};

void TestRendering::init()
{
    m_window = std::make_unique<Fotonar>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestRendering::cleanup()
{
    m_window.reset();
}

void TestRendering::defaultRunPicture()
{
    start();
    const QImage picture = m_window->pictureWidget()->picture();
    QCOMPARE(picture.pixelColor(61, 470), kGreenMedium); // the lower medium, between two bars
    QCOMPARE(picture.pixelColor(755, 300), kGreenMedium);
    QCOMPARE(picture.pixelColor(400, 291), kDark); // the boundary
    QCOMPARE(picture.pixelColor(30, 400), kGrey); // left of the medium
    QCOMPARE(picture.pixelColor(0, 400), kGrey); // column 0 is never touched
    QCOMPARE(picture.pixelColor(115, 91), QColor(Qt::white)); // the refilled detector
    QCOMPARE(picture.pixelColor(505, 444), QColor(Qt::white)); // the source, below its legs
    QCOMPARE(picture.pixelColor(656, 152), QColor(0, 255, 0)); // middle of the resultant
    QCOMPARE(picture.pixelColor(436, 120), QColor(128, 128, 128)); // the normal, above the legs
    QCOMPARE(picture.pixelColor(436, 470), QColor(128, 128, 128)); // its lower end
    QCOMPARE(picture.pixelColor(436, 475), kGreenMedium);
}

void TestRendering::labelsRevealedInPlace()
{
    start();
    QCOMPARE(control("labZdroj")->pos(), QPoint(470, 449));
    QCOMPARE(control("labDetektor")->pos(), QPoint(115, 66));
    QCOMPARE(control("labCas")->pos(), QPoint(60, 341));
    QCOMPARE(control("imaAlfy")->pos(), QPoint(416, 191));
    QCOMPARE(control("imaBeta")->pos(), QPoint(441, 391));
    QCOMPARE(control("labSuma")->pos(), QPoint(575, 66));
    QCOMPARE(control("labRadiusvektory")->pos(), QPoint(400, 526));
    for (const char *name : {"labZdroj", "labDetektor", "labCas", "imaAlfy", "imaBeta", "labSuma",
             "labRadiusvektory", "labKliknout"})
        QVERIFY2(control(name)->isVisible(), name);

    // On the screen the images lie over the drawing, unscaled.
    const QImage shown = screen();
    QCOMPARE(shown.pixelColor(416 + 4, 191), kGlyph); // alpha's top row: ....XXXX
    QCOMPARE(shown.pixelColor(416, 191), QColor(Qt::white));
    QCOMPARE(shown.pixelColor(441 + 4, 391 + 1), kGlyph); // beta's second row: ....XXXXX
    QCOMPARE(shown.pixelColor(441, 391), QColor(Qt::white));
}

void TestRendering::secondRunRepaintsAndMovesLabelsAtTheEnd()
{
    start();
    QCOMPARE(m_window->pictureWidget()->picture().pixelColor(115, 91), QColor(Qt::white));

    QTest::mouseClick(
        static_cast<QRadioButton *>(control("op100")), Qt::LeftButton, {}, QPoint(6, 6));
    // Slowed down, so that each path outlasts its frame and the run shows frames on its way.
    m_window->controller().fields().set(Field::nSpomaleni, "6");
    QPoint detectorLabelDuringRun;
    QTimer::singleShot(0, this, [&] { detectorLabelDuringRun = control("labDetektor")->pos(); });
    start();

    QCOMPARE(detectorLabelDuringRun, QPoint(115, 66)); // where the first run left it
    QCOMPARE(control("labDetektor")->pos(), QPoint(415, 66)); // moved by the second completion
    const QImage picture = m_window->pictureWidget()->picture();
    // No trace of the first run's detector, arrows or spiral inside the erase rectangle.
    QCOMPARE(picture.pixelColor(115, 91), kGrey);
    QCOMPARE(picture.pixelColor(110, 91), kGrey);
    QCOMPARE(picture.pixelColor(415, 91), QColor(Qt::white));
    QCOMPARE(control("imaAlfy")->pos(), QPoint(478 - 20, 191));
}

void TestRendering::closeDuringRunWaitsForTheEnd()
{
    bool visibleAfterClose = false;
    bool runningAtClose = false;
    QTimer::singleShot(0, this, [&] {
        runningAtClose = m_window->controller().isRunning();
        m_window->close();
        visibleAfterClose = m_window->isVisible();
    });
    start();
    QVERIFY(runningAtClose);
    QVERIFY(visibleAfterClose); // the close waited for the run
    QVERIFY(!control("labZdroj")->isHidden()); // which completed
    QVERIFY(!m_window->isVisible()); // and then the window closed
}

void TestRendering::drawingShowsDuringTheRun()
{
    // While the run is busy, each path is already on the screen: sample the screen midway.
    QColor sourceMidRun;
    bool startedAgain = false;
    QTimer::singleShot(0, this, [&] {
        sourceMidRun = screen().pixelColor(505, 444);
        // A second Start delivered in the middle of a run does not nest a run inside it.
        start();
        startedAgain = true;
    });
    start();
    QVERIFY(startedAgain);
    QCOMPARE(sourceMidRun, QColor(Qt::white));
}

void TestRendering::lastDrawingIsOnScreenWhenStartReturns_data()
{
    // Options clicked for a first run; the second is the default one. A run erases the whole
    // scene, and only the tiles that end up different may be left out of a frame.
    QTest::addColumn<QStringList>("before");
    QTest::newRow("first run") << QStringList();
    QTest::newRow("after a run at 2,5 and 100") << QStringList {"op25", "op100"};
    QTest::newRow("after a run at 1 and 400") << QStringList {"op1"};
}

void TestRendering::lastDrawingIsOnScreenWhenStartReturns()
{
    // What the display shows (the offscreen platform's copy of the window) against what the
    // window would paint now: no part of the completion may still be held back.
    QFETCH(QStringList, before);
    if (!before.isEmpty()) {
        for (const QString &option : before)
            QTest::mouseClick(control(qPrintable(option)), Qt::LeftButton);
        start();
        QTest::mouseClick(control("op2"), Qt::LeftButton);
        QTest::mouseClick(control("op400"), Qt::LeftButton);
    }
    start();
    const QImage shown = m_window->screen()
                             ->grabWindow(m_window->winId())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, screen().convertToFormat(QImage::Format_RGB32));
}

void TestRendering::slowRunGetsAFrameForEveryPath()
{
    // Paths a little more than a frame apart, as at slow-down 6: each gets a frame of its own.
    PixelSurface &surface = m_window->pictureWidget()->surface();
    Run run(surface, m_window->controller().fields());
    run.setUp();
    const int before = surface.framesShown();
    const auto refresh = FramePacer::refreshInterval(m_window->screen()->refreshRate());
    for (int path = 0; path < 102; ++path) {
        run.drawPath();
        std::this_thread::sleep_for(refresh + std::chrono::milliseconds(1));
    }
    QVERIFY(surface.framesShown() - before >= 102);
}

QTEST_MAIN(TestRendering)
#include "tst_rendering.moc"
