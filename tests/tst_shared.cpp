// What both front ends share: the layout table, the tab rule, and the parameter texts read
// and written under a decimal separator.

#include "designfit.h"
#include "fieldtext.h"
#include "framepacer.h"
#include "keyboard.h"
#include "layout.h"
#include "windowfit.h"

#include <QTest>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace fotonar;

class TestShared : public QObject
{
    Q_OBJECT

private slots:
    void readNumber_data();
    void readNumber();
    void layoutIsConsistent();
    void keyboard_data();
    void keyboard();
    void framesFollowTheScreen_data();
    void framesFollowTheScreen();
    void theFirstFrameSetsTheScreenUp();
    void eventsWaitNoLongerThanFrames();
    void designFitsTheClientArea_data();
    void designFitsTheClientArea();
    void windowFitLaysOutWhatChanged();
};

void TestShared::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    const auto row = [](const char *name, const char *text, const char *separator, bool isNumber,
                         double value = 0) {
        QTest::newRow(name) << QString(text) << QString(separator) << isNumber << value;
    };
    row("comma", "2,5", ",", true, 2.5);
    row("point", "2.5", ".", true, 2.5);
    row("point under comma", "2.5", ",", false);
    row("blanks and sign", " -1,5 ", ",", true, -1.5);
    row("exponent", "1e2", ".", true, 100.0);
    row("too large", "1e400", ".", false);
    row("grouping", "1,000", ".", false);
    row("two separators", "1,5,0", ",", false);
    row("nan", "nan", ".", false);
    row("separator alone", ",", ",", false);
    row("empty", "", ".", false);
}

void TestShared::readNumber()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const std::optional<double> number
        = fotonar::readNumber(text.toStdString(), separator.toStdString());
    QCOMPARE(number.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*number, value);
}

void TestShared::layoutIsConsistent()
{
    std::set<std::string_view> names;
    for (const ControlSpec &entry : windowLayout()) {
        QVERIFY2(names.insert(entry.name).second, entry.name.data());
        if (entry.container)
            QCOMPARE(int(controlSpec(*entry.container).kind), int(ControlKind::Frame));
        QVERIFY(entry.box.right() <= kPreferredWidth);
        QCOMPARE(entry.writes.has_value(), entry.kind == ControlKind::Option); // a click writes
    }
    // The images' boxes are their bitmaps' sizes: nothing is scaled.
    const Box alpha = controlSpec(ControlId::imaAlfy).box,
              beta = controlSpec(ControlId::imaBeta).box;
    QCOMPARE(QSize(alpha.width, alpha.height), QSize(15, 11));
    QCOMPARE(QSize(beta.width, beta.height), QSize(12, 22));
    QCOMPARE(titleRoom(), 214);
    QVERIFY(windowCaption().starts_with("Fotonar světla - "));
}

void TestShared::keyboard_data()
{
    using Chosen = std::vector<ControlId>; // the chosen options
    QTest::addColumn<ControlId>("focused");
    QTest::addColumn<int>("key");
    QTest::addColumn<Chosen>("chosen");
    QTest::addColumn<int>("slowDown");
    QTest::addColumn<int>("kind"); // KeyAction::Kind
    QTest::addColumn<std::optional<ControlId>>("control");
    QTest::addColumn<int>("value");
    using K = KeyAction::Kind;
    using enum ControlId;
    const auto row = [&](const char *name, ControlId focused, Key key, K kind,
                         std::optional<ControlId> control = {}, int value = 0, int slowDown = 3,
                         const Chosen &chosen = {op2, op400}) {
        QTest::newRow(name) << focused << int(key) << chosen << slowDown << int(kind) << control
                            << value;
    };
    // Tab goes Start, Konec, the chosen distance, the chosen index, the scroll bar, and round.
    row("Tab from Start", cmdStart, Key::Tab, K::Focus, cmdKonec);
    row("Tab to the chosen 400", cmdKonec, Key::Tab, K::Focus, op400);
    row("Tab to the chosen 2, past 1", op400, Key::Tab, K::Focus, op2);
    row("Tab to the chosen 1,5", op400, Key::Tab, K::Focus, op15, 0, 3, {op15, op400});
    row("Tab to the scroll bar", op2, Key::Tab, K::Focus, HScroll1);
    row("Tab wraps", HScroll1, Key::Tab, K::Focus, cmdStart);
    row("Shift+Tab wraps back", cmdStart, Key::BackTab, K::Focus, HScroll1);
    row("Shift+Tab to the chosen 100", op2, Key::BackTab, K::Focus, op100, 0, 3, {op2, op100});
    // The arrows choose within a frame and stop at its ends.
    row("Right chooses the next", op2, Key::Right, K::Choose, op25);
    row("Up chooses the one before", op2, Key::Up, K::Choose, op15);
    row("Down in the distance frame", op400, Key::Down, K::Choose, op100);
    row("Left stops at 1", op1, Key::Left, K::Stay);
    row("Right stops at 2,5", op25, Key::Right, K::Stay);
    row("Space chooses the focused option", op15, Key::Space, K::Choose, op15);
    row("Enter on an option is the toolkit's", op2, Key::Enter, K::Unused);
    // The scroll bar: towards 1 and 6, the ends by Home and End.
    row("Right towards 6", HScroll1, Key::Right, K::Slide, HScroll1, 4);
    row("Up towards 1", HScroll1, Key::Up, K::Slide, HScroll1, 2);
    row("Page Down", HScroll1, Key::PageDown, K::Slide, HScroll1, 4);
    row("Page Up at 1 stays", HScroll1, Key::PageUp, K::Slide, HScroll1, 1, 1);
    row("Home", HScroll1, Key::Home, K::Slide, HScroll1, 1);
    row("End", HScroll1, Key::End, K::Slide, HScroll1, 6);
    row("Down at 6 stays", HScroll1, Key::Down, K::Slide, HScroll1, 6, 6);
    row("Space on the scroll bar is the toolkit's", HScroll1, Key::Space, K::Unused);
    // Buttons.
    row("Space presses Start", cmdStart, Key::Space, K::Press, cmdStart);
    row("Enter presses Konec", cmdKonec, Key::Enter, K::Press, cmdKonec);
    row("an arrow on a button is the toolkit's", cmdStart, Key::Left, K::Unused);
}

void TestShared::keyboard()
{
    QFETCH(ControlId, focused);
    QFETCH(int, key);
    QFETCH(std::vector<ControlId>, chosen);
    QFETCH(int, slowDown);
    QFETCH(int, kind);
    QFETCH(std::optional<ControlId>, control);
    QFETCH(int, value);
    const KeyAction action = keyAction(
        controlSpec(focused), Key(key),
        [&](const ControlSpec &option) { return std::ranges::count(chosen, option.id) > 0; },
        slowDown);
    QCOMPARE(int(action.kind), kind);
    QCOMPARE(action.control, control ? &controlSpec(*control) : nullptr);
    QCOMPARE(action.value, value);
}

void TestShared::framesFollowTheScreen_data()
{
    // The time from one present to the next (a path and its pause), in microseconds, repeated
    // for 102 presents; what showing a frame costs; a 60 Hz screen. Frames of the presents of a
    // run that follows another, after a rest; the run's last drawing is flushed besides.
    QTest::addColumn<std::vector<int>>("gaps");
    QTest::addColumn<int>("cost");
    QTest::addColumn<int>("fewestFrames");
    QTest::addColumn<int>("mostFrames");
    QTest::newRow("1.5 ms paths: many presents a refresh") << std::vector {1'500} << 0 << 9 << 10;
    QTest::newRow("a pause of a refresh") << std::vector {16'667} << 0 << 102 << 102;
    QTest::newRow("pauses jittering about 18 ms")
        << std::vector {15'000, 21'000} << 0 << 102 << 102;
    QTest::newRow("pauses of half a refresh") << std::vector {8'333} << 0 << 50 << 52;
    QTest::newRow("13 ms paths, a little short of a refresh: a frame a refresh")
        << std::vector {13'000} << 0 << 72 << 80;
    // A screen that is slow to show: fewer frames, never more than a few per cent of the run.
    QTest::newRow("slow-down 1, 1 ms frames") << std::vector {600} << 1'000 << 1 << 3;
    QTest::newRow("slow-down 1 over in 46 ms, 1 ms frames: the run's last only")
        << std::vector {450} << 1'000 << 0 << 0;
    // Frames that cost the run's thread less than its clock shows (Firefox) still cost a run.
    QTest::newRow("slow-down 1 over in 46 ms, frames timed at 0: the run's last only")
        << std::vector {450} << 0 << 0 << 0;
    QTest::newRow("the same on a clock of whole milliseconds")
        << std::vector {0, 1'000, 0, 1'000, 0} << 0 << 0 << 0;
    QTest::newRow("the same, the first path after a frame read as 1 ms")
        << std::vector {1'000, 0, 0, 1'000, 0} << 0 << 0 << 0;
    QTest::newRow("slow-down 1, 12 ms frames: the run's last only")
        << std::vector {600} << 12'000 << 0 << 0;
    QTest::newRow("8 ms paths, 10 ms frames") << std::vector {8'000} << 10'000 << 2 << 4;
    // Slowed down, every path that outlasts its frame or a refresh still gets one.
    QTest::newRow("slow-down 6, 12 ms frames") << std::vector {18'000} << 12'000 << 102 << 102;
    QTest::newRow("slow-down 6, 30 ms frames") << std::vector {18'000} << 30'000 << 102 << 102;
}

void TestShared::framesFollowTheScreen()
{
    QFETCH(std::vector<int>, gaps);
    QFETCH(int, cost);
    QFETCH(int, fewestFrames);
    QFETCH(int, mostFrames);
    const std::chrono::nanoseconds refresh(16'666'667);
    FramePacer pacer;
    FramePacer::Clock::time_point now {};
    int frames = 0;
    for (int run = 0; run < 2; ++run) { // the second run, after a rest, is counted
        now += std::chrono::seconds(1);
        pacer.restEnded(now);
        frames = 0;
        for (int present = 0; present < 102; ++present) {
            if (pacer.due(now)) {
                const auto handedOver = now;
                now += std::chrono::microseconds(cost);
                pacer.frameShown(handedOver, now, refresh);
                ++frames;
            }
            now += std::chrono::microseconds(gaps[std::size_t(present) % gaps.size()]);
        }
    }
    QVERIFY2(
        frames >= fewestFrames && frames <= mostFrames, QByteArray::number(frames).constData());
}

void TestShared::theFirstFrameSetsTheScreenUp()
{
    // A browser makes its GL context at the first frame; the paths of a first run slowed down
    // to 18 ms a path, with 1 ms frames, still get a frame each.
    FramePacer pacer;
    FramePacer::Clock::time_point now {};
    pacer.restEnded(now); // as the picture does at its first drawing
    int frames = 0;
    for (int present = 0; present < 102; ++present) {
        if (pacer.due(now)) {
            const auto handedOver = now;
            now += std::chrono::milliseconds(frames++ == 0 ? 100 : 1);
            pacer.frameShown(handedOver, now, std::chrono::nanoseconds(16'666'667));
        }
        now += std::chrono::milliseconds(18);
    }
    QCOMPARE(frames, 102);
}

void TestShared::eventsWaitNoLongerThanFrames()
{
    // A busy machine: paths of 10 ms, and an X server so starved that a frame costs 400 ms. The
    // frames wait, the window's events do not: between two deliveries, at most a path more
    // than the pacer's bound (a frame alone would let them wait 24 frames' cost, 9.6 s).
    FramePacer pacer;
    FramePacer::Clock::time_point now {};
    pacer.restEnded(now);
    auto delivered = now;
    FramePacer::Clock::duration longest {};
    for (int present = 0; present < 102; ++present) {
        if (pacer.due(now)) {
            const auto handedOver = now;
            now += std::chrono::milliseconds(400);
            pacer.frameShown(handedOver, now, std::chrono::nanoseconds(16'666'667));
            delivered = now;
        } else if (pacer.eventsDue(now)) {
            pacer.eventsDelivered(now);
            delivered = now;
        }
        now += std::chrono::milliseconds(10);
        longest = std::max(longest, now - delivered);
    }
    QVERIFY(longest <= FramePacer::kMostWithoutEvents + std::chrono::milliseconds(10));
}

void TestShared::designFitsTheClientArea_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("density");
    QTest::addColumn<double>("leastZoom");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<QRect>("start"); // cmdStart's box
    QTest::addColumn<QRect>("option"); // op15's, in its frame
    QTest::addColumn<int>("divisor"); // of the picture's density
    const double desktop = DesignFit::kDesktopLeastZoom, browser = DesignFit::kBrowserLeastZoom;
    QTest::newRow("preferred size") << 820.0 << 580.0 << 1.0 << desktop << 1.0 << 0 << 0
                                    << QRect(536, 8, 89, 25) << QRect(40, 16, 41, 13) << 1;
    QTest::newRow("preferred size at 125 %, rounded")
        << 1025.0 << 725.0 << 1.25 << desktop << 1.0 << 0 << 0 << QRect(670, 10, 111, 31)
        << QRect(50, 20, 51, 16) << 1;
    QTest::newRow("maximized on 1920 x 1080")
        << 1920.0 << 1053.0 << 1.0 << desktop << 1.8125 << 217 << 1 << QRect(1189, 16, 161, 45)
        << QRect(72, 29, 74, 23) << 1;
    QTest::newRow("browser, 1920 x 1080")
        << 1920.0 << 1080.0 << 1.0 << browser << 1.859375 << 197 << 1 << QRect(1194, 16, 165, 46)
        << QRect(74, 30, 76, 24) << 1;
    QTest::newRow("3840 x 2160 at density 2")
        << 3840.0 << 2160.0 << 2.0 << browser << 1.859375 << 395 << 1 << QRect(2388, 31, 331, 93)
        << QRect(149, 59, 152, 49) << 2;
    QTest::newRow("1280 x 800") << 1280.0 << 800.0 << 1.0 << desktop << 1.375 << 76 << 1
                                << QRect(813, 12, 122, 34) << QRect(55, 22, 56, 18) << 1;
    QTest::newRow("tall window: centred downwards")
        << 820.0 << 1000.0 << 1.0 << desktop << 1.0 << 0 << 210 << QRect(536, 218, 89, 25)
        << QRect(40, 16, 41, 13) << 1;
    QTest::newRow("too small for the desktop: at the corner, as designed")
        << 700.0 << 500.0 << 1.0 << desktop << 1.0 << 0 << 0 << QRect(536, 8, 89, 25)
        << QRect(40, 16, 41, 13) << 1;
    QTest::newRow("a phone's browser: half size")
        << 410.0 << 600.0 << 1.0 << browser << 0.5 << 0 << 155 << QRect(268, 159, 45, 13)
        << QRect(20, 8, 21, 7) << 1;
}

void TestShared::designFitsTheClientArea()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(double, density);
    QFETCH(double, leastZoom);
    QFETCH(double, zoom);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(QRect, start);
    QFETCH(QRect, option);
    QFETCH(int, divisor);
    DesignFit fit;
    fit.fitTo(width, height, density, leastZoom);
    QCOMPARE(fit.zoom(), zoom);
    QCOMPARE(fit.pictureDivisor(), divisor);
    QCOMPARE(fit.left(), left);
    QCOMPARE(fit.top(), top);
    const auto rect
        = [](const Box &box) { return QRect(box.left, box.top, box.width, box.height); };
    QCOMPARE(rect(fit.place(controlSpec(ControlId::cmdStart))), start);
    QCOMPARE(rect(fit.placeInContainer(controlSpec(ControlId::op15))), option);
    // The design stands whole in the client area wherever it can, and is centred.
    const Box area = fit.designArea();
    if (zoom > leastZoom) {
        QVERIFY(area.right() <= width && area.top + area.height <= height);
        QVERIFY(std::abs(width - area.right() - area.left) <= 1
            || std::abs(height - area.top - area.height - area.top) <= 1);
    }
    // A revealed control stands where the run put it, at this fit.
    fit.moveControl(Control::imaAlfy, 416, 190);
    const Box alpha = fit.place(controlSpec(ControlId::imaAlfy));
    QCOMPARE(QPoint(alpha.left, alpha.top),
        QPoint(left + int(std::lround(416 * zoom * density)),
            top + int(std::lround(190 * zoom * density))));
}

void TestShared::windowFitLaysOutWhatChanged()
{
    // What the widgets were told: a letter a step (Fonts, Lengths, Picture, Control, Moved,
    // Title), and the last box and font of each control.
    struct Widgets : WindowFit::Widgets
    {
        std::string steps;
        std::map<ControlId, Box> boxes;
        std::map<ControlId, int> fonts;
        int focusFrame = 0;
        void applyFonts(std::span<const ControlFont> made) override
        {
            steps += 'F';
            for (const ControlFont &font : made)
                fonts[font.control->id] = font.caption ? font.pixels : -font.pixels;
        }
        void applyLengths(const ControlLengths &lengths) override
        {
            steps += 'L';
            focusFrame = lengths.focusFrame;
        }
        void placePicture(const Box &, const DesignFit &) override { steps += 'P'; }
        void placeControl(const ControlSpec &control, const Box &box) override
        {
            steps += 'C';
            boxes[control.id] = box;
        }
        void placeMoved(const ControlSpec &control, const Box &box) override
        {
            steps += 'M';
            boxes[control.id] = box;
        }
        void fitTitle(const ControlSpec &, const DesignFit &) override { steps += 'T'; }
    } widgets;
    using enum ControlId;
    WindowFit fit(widgets, WindowFit::Origin::Frame);
    const std::string everything = "FLP" + std::string(kControlCount, 'C') + "T";
    QVERIFY(fit.follow(820, 580, 1) && widgets.steps == everything);
    QCOMPARE(widgets.fonts.size(), std::size_t(17)); // all but the scroll bar and the images
    QVERIFY(widgets.fonts[cmdStart] == 19 && widgets.fonts[op15] == -11 && widgets.focusFrame == 2);
    widgets.steps.clear();
    QVERIFY(!fit.follow(820.4, 580, 1) && widgets.steps.empty()); // the same fit: nothing
    QVERIFY(fit.follow(820, 1000, 1)); // moved down: the fonts stay
    QCOMPARE(widgets.steps, everything.substr(2));
    QCOMPARE(widgets.boxes[cmdStart], (Box {536, 218, 89, 25}));
    widgets.steps.clear();
    QVERIFY(fit.follow(1640, 1160, 1) && widgets.steps == everything); // twice the size
    QVERIFY(widgets.fonts[cmdStart] == 38 && widgets.fonts[op15] == -22 && widgets.focusFrame == 4);
    QCOMPARE(widgets.boxes[op15], (Box {80, 32, 82, 26})); // in its frame
    widgets.steps.clear();
    fit.moveControl(Control::labZdroj, 470, 449);
    QCOMPARE(widgets.steps, std::string("M"));
    QCOMPARE(widgets.boxes[labZdroj], (Box {940, 898, 162, 34}));
}

QTEST_GUILESS_MAIN(TestShared)
#include "tst_shared.moc"
