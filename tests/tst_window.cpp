// The window as the user meets it: controls at start-up, the parameter handlers, the bitmaps,
// quitting, and the run-time error box.

#include "bitmapview.h"
#include "fotonar.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace fotonar;

namespace {

const char *const kAlphaGrid[] = {
    "....XXXX...XX..",
    "..XX...XX..XX..",
    "..XX....X.XX...",
    ".XX......XXX...",
    ".XX......XXX...",
    ".XX......XX....",
    ".XX......XX....",
    ".XX......XX....",
    "..X.....XXX...X",
    "..XX...XX..X..X",
    "....XXXX....XX.",
};

const char *const kBetaGrid[] = {
    "............",
    "....XXXXX...",
    "...XX...XX..",
    "..XX.....XX.",
    "..XX.....XX.",
    "..XX.....XX.",
    "..XX.....X..",
    "..XX..XXX...",
    "..XX.....XX.",
    "..XX.....XX.",
    "..XX......XX",
    "..XX......XX",
    "..XX......XX",
    "..XX......XX",
    "..XX......X.",
    "..XXX....XX.",
    "..XX.XXXX...",
    "..XX........",
    "..XX........",
    "..XX........",
    "..XX........",
    "..XX........",
};

// Clicks an option button on its round indicator, where a user aims.
void clickOption(QRadioButton *option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, 6));
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUpVisibility();
    void startUpGeometry_data();
    void startUpGeometry();
    void startUpDefaults();
    void captionsAndFonts();
    void captionsAreInTheFirstPicture();
    void fontsAreThoseQtWouldChoose_data();
    void fontsAreThoseQtWouldChoose();
    void optionWritesItsText_data();
    void optionWritesItsText();
    void scrollBarEnds();
    void bitmaps_data();
    void bitmaps();
    void konecClosesTheWindow();
    void runErrorShowsBoxAndEnds_data();
    void runErrorShowsBoxAndEnds();

private:
    QString fieldText(Field field) const
    {
        return QString::fromStdString(m_window->controller().fields().text(field));
    }
    template<typename T> T *control(const char *name) const
    {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    std::unique_ptr<Fotonar> m_window;
};

void TestWindow::init()
{
    m_window = std::make_unique<Fotonar>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestWindow::cleanup()
{
    m_window.reset();
    QLocale::setDefault(QLocale::c());
}

void TestWindow::startUpVisibility()
{
    const char *visible[] = {"frmIndex", "op1", "op15", "op2", "op25", "frmVzdalenost", "op400",
        "op100", "HScroll1", "cmdStart", "cmdKonec", "labFotonar", "labKliknout"};
    for (const char *name : visible)
        QVERIFY2(control<QWidget>(name)->isVisible(), name);
    const char *hidden[] = {
        "labZdroj", "labDetektor", "labCas", "labSuma", "labRadiusvektory", "imaAlfy", "imaBeta"};
    for (const char *name : hidden)
        QVERIFY2(!control<QWidget>(name)->isVisible(), name);
    QVERIFY(!control<QLabel>("labCas")->isEnabled());
    QVERIFY(control<QLabel>("labZdroj")->isEnabled());
}

void TestWindow::startUpGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("frmIndex") << "frmIndex" << QRect(152, 8, 161, 33);
    QTest::newRow("op15") << "op15" << QRect(40, 16, 41, 13);
    QTest::newRow("op25") << "op25" << QRect(112, 16, 41, 13);
    QTest::newRow("frmVzdalenost") << "frmVzdalenost" << QRect(40, 8, 97, 33);
    QTest::newRow("op100") << "op100" << QRect(48, 16, 41, 13);
    QTest::newRow("HScroll1") << "HScroll1" << QRect(336, 40, 145, 17);
    QTest::newRow("cmdStart") << "cmdStart" << QRect(536, 8, 89, 25);
    QTest::newRow("cmdKonec") << "cmdKonec" << QRect(640, 8, 73, 25);
    QTest::newRow("labKliknout") << "labKliknout" << QRect(256, 192, 329, 57);
    QTest::newRow("labRadiusvektory") << "labRadiusvektory" << QRect(408, 64, 297, 17);
    QTest::newRow("imaAlfy") << "imaAlfy" << QRect(376, 72, 15, 11);
    QTest::newRow("imaBeta") << "imaBeta" << QRect(504, 48, 12, 22);
}

void TestWindow::startUpGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QCOMPARE(control<QWidget>(qPrintable(name))->geometry(), geometry);
}

void TestWindow::startUpDefaults()
{
    QCOMPARE(fieldText(Field::nIndex), QStringLiteral("2"));
    QCOMPARE(fieldText(Field::nVzdalenost), QStringLiteral("400"));
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("1"));
    QVERIFY(control<QRadioButton>("op2")->isChecked());
    QVERIFY(control<QRadioButton>("op400")->isChecked());
    QVERIFY(!control<QRadioButton>("op1")->isChecked());
    QVERIFY(!control<QRadioButton>("op100")->isChecked());
    QCOMPARE(control<QScrollBar>("HScroll1")->value(), 1);
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("Fotonar světla - ")));
    // Room for the whole picture of a run.
    QVERIFY(m_window->width() >= 801 && m_window->height() >= 560);
}

void TestWindow::captionsAndFonts()
{
    auto *title = control<QLabel>("labFotonar");
    QCOMPARE(title->text(), QStringLiteral("Fotonar paprsků světla"));
    QCOMPARE(title->font().pixelSize(), 23);
    QVERIFY(title->font().bold());
    // The title stays on one line and clear of the Start button.
    QVERIFY(title->fontMetrics().horizontalAdvance(title->text()) <= title->width());
    QVERIFY(title->geometry().right() < control<QPushButton>("cmdStart")->x());
    QCOMPARE(control<QGroupBox>("frmVzdalenost")->title(), QStringLiteral("Dál od Zdroje"));
    QCOMPARE(control<QGroupBox>("frmIndex")->font().pixelSize(), 13);
    QCOMPARE(control<QPushButton>("cmdKonec")->font().pixelSize(), 19);
    QCOMPARE(control<QLabel>("labKliknout")->font().pixelSize(), 21);
    QCOMPARE(control<QLabel>("labCas")->text(), QStringLiteral("Čas"));
    QCOMPARE(control<QLabel>("labSuma")->font().pixelSize(), 16);
    QCOMPARE(control<QLabel>("labZdroj")->palette().color(QPalette::Window), QColor(192, 255, 192));
    QVERIFY(control<QLabel>("labZdroj")->autoFillBackground()); // opaque
    QCOMPARE(control<QRadioButton>("op15")->text(), QStringLiteral("1,5"));
}

void TestWindow::captionsAreInTheFirstPicture()
{
    // The captions are measured after the window is mapped, but never after it is first painted.
    struct FirstPaint : QObject
    {
        QString frameTitle;
        int titleWidth = -1;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint) {
                if (auto *frame = qobject_cast<QGroupBox *>(watched); frame && frameTitle.isNull())
                    frameTitle = frame->title();
                if (auto *title = qobject_cast<QLabel *>(watched); title && titleWidth < 0)
                    titleWidth = title->width();
            }
            return false;
        }
    } seen;
    Fotonar window;
    window.findChild<QGroupBox *>(QStringLiteral("frmIndex"))->installEventFilter(&seen);
    auto *title = window.findChild<QLabel *>(QStringLiteral("labFotonar"));
    title->installEventFilter(&seen);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(seen.titleWidth >= 0 && !seen.frameTitle.isNull());
    QCOMPARE(seen.frameTitle, QStringLiteral("Index lomu"));
    QCOMPARE(seen.titleWidth, title->width()); // already widened to fit
    QVERIFY(title->width() > 201);
}

void TestWindow::fontsAreThoseQtWouldChoose_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("family");
    QTest::newRow("title") << QStringLiteral("labFotonar") << "Times New Roman";
    QTest::newRow("frame") << QStringLiteral("frmIndex") << "Times New Roman";
    QTest::newRow("button") << QStringLiteral("cmdStart") << "Times New Roman";
    QTest::newRow("option") << QStringLiteral("op15") << "Arial";
}

void TestWindow::fontsAreThoseQtWouldChoose()
{
    // The window names the installed stand-in itself; the font must be the one Qt would have
    // found for the family the layout names.
    QFETCH(QString, control);
    QFETCH(QString, family);
    const QFont shown = m_window->findChild<QWidget *>(control)->font();
    QFont named(family);
    named.setPixelSize(shown.pixelSize());
    named.setBold(shown.bold());
    const QFontInfo expected(named), actual(shown);
    QCOMPARE(actual.family(), expected.family());
    QCOMPARE(actual.styleName(), expected.styleName());
    QCOMPARE(actual.pixelSize(), expected.pixelSize());
}

void TestWindow::optionWritesItsText_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");

    const QLocale czech(QLocale::Czech, QLocale::Czechia);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const QLocale &locale : {czech, english}) {
        const bool comma = locale == czech;
        const QByteArray tag = comma ? "cs " : "en ";
        const int index = int(Field::nIndex), distance = int(Field::nVzdalenost);
        QTest::newRow(tag + "op1") << locale << "op1" << index << "1";
        QTest::newRow(tag + "op15") << locale << "op15" << index << (comma ? "1,5" : "1.5");
        QTest::newRow(tag + "op2") << locale << "op2" << index << "2";
        QTest::newRow(tag + "op25") << locale << "op25" << index << (comma ? "2,5" : "2.5");
        QTest::newRow(tag + "op100") << locale << "op100" << distance << "100";
        QTest::newRow(tag + "op400") << locale << "op400" << distance << "400";
    }
}

void TestWindow::optionWritesItsText()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, option);
    QFETCH(int, field);
    QFETCH(QString, text);

    QLocale::setDefault(locale);
    m_window = std::make_unique<Fotonar>(); // the fields take the locale when the window is made
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    // Start from the other choices, so that every click changes something.
    clickOption(control<QRadioButton>("op1"));
    clickOption(control<QRadioButton>("op100"));
    if (option == QLatin1String("op1") || option == QLatin1String("op100")) {
        clickOption(control<QRadioButton>("op25"));
        clickOption(control<QRadioButton>("op400"));
    }
    const auto written = Field(field);
    const Field other = written == Field::nIndex ? Field::nVzdalenost : Field::nIndex;
    const QString otherBefore = fieldText(other);

    auto *button = control<QRadioButton>(qPrintable(option));
    clickOption(button);
    QVERIFY(button->isChecked());
    QCOMPARE(fieldText(written), text);
    QCOMPARE(fieldText(other), otherBefore); // the other frame is left alone
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("1"));
    // What was written reads back as the same number.
    const double expected
        = QLocale::c().toDouble(QString(text).replace(QLatin1Char(','), QLatin1Char('.')));
    QCOMPARE(m_window->controller().fields().number(written), std::optional<double>(expected));

    clickOption(button); // a click on the chosen option writes the same text again
    QCOMPARE(fieldText(written), text);
}

void TestWindow::scrollBarEnds()
{
    auto *scrollBar = control<QScrollBar>("HScroll1");
    scrollBar->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("6"));
    scrollBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("5"));
    scrollBar->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("1"));
    scrollBar->triggerAction(QAbstractSlider::SliderSingleStepSub); // already at the left end
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("1"));
    // A click on the right arrow moves one step to the right.
    QTest::mouseClick(
        scrollBar, Qt::LeftButton, {}, QPoint(scrollBar->width() - 4, scrollBar->height() / 2));
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("2"));
    QCOMPARE(fieldText(Field::nIndex), QStringLiteral("2"));
}

void TestWindow::bitmaps_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QStringList>("grid");
    QStringList alpha, beta;
    for (const char *row : kAlphaGrid)
        alpha << QLatin1String(row);
    for (const char *row : kBetaGrid)
        beta << QLatin1String(row);
    QTest::newRow("alpha") << QStringLiteral("imaAlfy") << ":/assets/alfa.bmp" << alpha;
    QTest::newRow("beta") << QStringLiteral("imaBeta") << ":/assets/beta.bmp" << beta;
}

void TestWindow::bitmaps()
{
    QFETCH(QString, name);
    QFETCH(QString, resource);
    QFETCH(QStringList, grid);

    const QImage image(resource);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(grid.first().size(), grid.size()));
    QCOMPARE(image.depth() >= 24, true);
    for (int y = 0; y < grid.size(); ++y) {
        for (int x = 0; x < grid[y].size(); ++x) {
            const QColor expected
                = grid[y][x] == QLatin1Char('X') ? QColor(16, 24, 16) : QColor(Qt::white);
            QCOMPARE(image.pixelColor(x, y), expected);
        }
    }
    // Shown at its natural size: the box is exactly the bitmap.
    auto *view = control<BitmapView>(qPrintable(name));
    QCOMPARE(view->size(), image.size());
    QCOMPARE(view->image(), image);
}

void TestWindow::konecClosesTheWindow()
{
    QTest::mouseClick(control<QPushButton>("cmdKonec"), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
    // It was the only window: with it gone, the application quits.
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!widget->isVisible());
}

void TestWindow::runErrorShowsBoxAndEnds_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("index not a number") << int(Field::nIndex) << "abc";
    QTest::newRow("distance empty") << int(Field::nVzdalenost) << "";
    QTest::newRow("index 0") << int(Field::nIndex) << "0";
    QTest::newRow("distance 1e400") << int(Field::nVzdalenost) << "1e400";
}

void TestWindow::runErrorShowsBoxAndEnds()
{
    QFETCH(int, field);
    QFETCH(QString, text);

    m_window->controller().fields().set(Field(field), text.toStdString());
    QSignalSpy failed(m_window.get(), &Fotonar::exitRequested);
    QString shown;
    // The box is modal; answer it as soon as it is up.
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    answer.start(10);
    QTest::mouseClick(control<QPushButton>("cmdStart"), Qt::LeftButton);
    QVERIFY2(shown.contains(QStringLiteral("Chyba")), qPrintable(shown));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().first().toInt(), WindowController::kRunErrorExitStatus);
    QVERIFY(!m_window->controller().isRunning());
    // Nothing of the completion happened.
    QVERIFY(!control<QWidget>("labZdroj")->isVisible());
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
