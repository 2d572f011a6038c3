// The window's behaviour as every front end shares it, driven through a fake front end without
// a display: the start-up defaults, the handlers, a run's place among the events, errors.

#include "recordingsurface.h"
#include "windowcontroller.h"

#include <QTest>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace fotonar;
using fotonar::test::Op;
using fotonar::test::RecordingSurface;

namespace {

// What a toolkit would have done, as the controller asked it.
class FakeFrontEnd : public WindowFrontEnd
{
public:
    struct Surface : RecordingSurface
    {
        std::function<void()> duringRun; ///< called at the run's first present
        void present() override
        {
            RecordingSurface::present();
            if (auto call = std::exchange(duringRun, nullptr))
                call();
        }
    } drawing;
    std::vector<ControlId> selected;
    std::vector<ControlId> focused;
    int slowDownShown = 0;
    std::vector<std::string> errors;
    std::vector<int> quits;
    PictureDescription described;
    std::vector<std::string> announced;

    void selectOption(const ControlSpec &option) override { selected.push_back(option.id); }
    void showSlowDown(int value) override { slowDownShown = value; }
    void focus(const ControlSpec &control) override { focused.push_back(control.id); }
    fotonar::Surface &surface() override { return drawing; }
    void showRunError(const std::string &message) override { errors.push_back(message); }
    void quit(int exitStatus) override { quits.push_back(exitStatus); }
    void describePicture(const PictureDescription &picture) override { described = picture; }
    void announce(const std::string &message) override { announced.push_back(message); }

    // Each run ends with the completion's flush.
    std::size_t runs() const { return drawing.only(Op::Flush).size(); }
};

} // namespace

class TestController : public QObject
{
    Q_OBJECT

private slots:
    void startUpDefaults();
    void handlerWritesOnlyItsField_data();
    void handlerWritesOnlyItsField();
    void whatIsDoneDuringARunWaitsForItsEnd();
    void keysDriveTheWindow();
    void closeDuringRunEndsAfterIt_data();
    void closeDuringRunEndsAfterIt();
    void runErrorIsReportedAndEnds_data();
    void runErrorIsReportedAndEnds();
    void sameRunUnderEitherSeparator();
    void pictureInWords_data();
    void pictureInWords();
    void titleFits_data();
    void titleFits();
    void captionsCloseUpToTheirBox();
    void opensMaximizedOnSmallScreens_data();
    void opensMaximizedOnSmallScreens();
};

void TestController::startUpDefaults()
{
    FakeFrontEnd window;
    WindowController controller(window, ",");
    controller.Form_Load();
    QCOMPARE(window.selected, (std::vector {ControlId::op2, ControlId::op400}));
    QCOMPARE(controller.fields().text(Field::nIndex), std::string("2"));
    QCOMPARE(controller.fields().text(Field::nVzdalenost), std::string("400"));
    QCOMPARE(controller.fields().text(Field::nSpomaleni), std::string("1"));
    controller.cmdStart_Click(); // Start right away runs with them
    QCOMPARE(window.runs(), std::size_t(1));
    QVERIFY(window.errors.empty() && window.quits.empty());
}

void TestController::handlerWritesOnlyItsField_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<ControlId>("control");
    QTest::addColumn<int>("value"); // the scroll bar's, for HScroll1
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    const int index = int(Field::nIndex), distance = int(Field::nVzdalenost);
    using enum ControlId;
    QTest::newRow("op1") << "," << op1 << 0 << index << "1";
    QTest::newRow("op15 cs") << "," << op15 << 0 << index << "1,5";
    QTest::newRow("op15 en") << "." << op15 << 0 << index << "1.5";
    QTest::newRow("op25 cs") << "," << op25 << 0 << index << "2,5";
    QTest::newRow("op25 en") << "." << op25 << 0 << index << "2.5";
    QTest::newRow("op100") << "." << op100 << 0 << distance << "100";
    QTest::newRow("op400") << "," << op400 << 0 << distance << "400";
    QTest::newRow("scroll bar at 6") << "," << HScroll1 << 6 << int(Field::nSpomaleni) << "6";
    QTest::newRow("scroll bar at 3") << "." << HScroll1 << 3 << int(Field::nSpomaleni) << "3";
}

void TestController::handlerWritesOnlyItsField()
{
    QFETCH(QString, separator);
    QFETCH(ControlId, control);
    QFETCH(int, value);
    QFETCH(int, field);
    QFETCH(QString, text);
    FakeFrontEnd window;
    WindowController controller(window, separator.toStdString());
    controller.Form_Load();
    const FieldTexts before = controller.fields();
    if (control == ControlId::HScroll1)
        controller.HScroll1_Change(value);
    else
        controller.option_Click(control);
    for (const Field each : {Field::nIndex, Field::nVzdalenost, Field::nSpomaleni}) {
        const std::string expected = int(each) == field ? text.toStdString() : before.text(each);
        QCOMPARE(controller.fields().text(each), expected);
    }
    // An option's text reads back as the number it writes.
    if (const std::optional<FieldWrite> write = controlSpec(control).writes)
        QCOMPARE(controller.fields().number(write->field), std::optional<double>(write->value));
    QVERIFY(window.runs() == 0 && window.quits.empty());
}

void TestController::whatIsDoneDuringARunWaitsForItsEnd()
{
    // The toolkit delivers clicks during a run: the option shows as chosen at once, but its field,
    // the slow-down and the second Start wait for the run's end, then come in order.
    FakeFrontEnd window;
    WindowController controller(window, ",");
    controller.Form_Load();
    FieldTexts during("");
    window.drawing.duringRun = [&] {
        controller.option_Click(ControlId::op100);
        controller.HScroll1_Change(3);
        controller.cmdStart_Click();
        controller.cmdStart_Click();
        QVERIFY(controller.keyPressed(ControlId::op100, Key::Left)); // back to 400, by the keyboard
        during = controller.fields();
    };
    controller.cmdStart_Click();
    QCOMPARE(during.text(Field::nVzdalenost), std::string("400"));
    QCOMPARE(during.text(Field::nSpomaleni), std::string("1"));
    QCOMPARE(window.selected.back(), ControlId::op400);
    QCOMPARE(controller.runsStarted(), 3); // no run inside another; each Start one run after it
    QCOMPARE(window.runs(), std::size_t(3));
    QCOMPARE(controller.fields().text(Field::nVzdalenost), std::string("400"));
    QCOMPARE(controller.fields().text(Field::nSpomaleni), std::string("3"));
    QVERIFY(!controller.isRunning() && window.quits.empty());
}

void TestController::keysDriveTheWindow()
{
    FakeFrontEnd window;
    WindowController controller(window, ",");
    controller.Form_Load();
    using enum ControlId;
    QVERIFY(controller.keyPressed(op2, Key::Right));
    QCOMPARE(window.focused.back(), op25);
    QCOMPARE(window.selected.back(), op25);
    QCOMPARE(controller.fields().text(Field::nIndex), std::string("2,5"));
    QVERIFY(controller.keyPressed(op25, Key::BackTab)); // the chosen option is the stop now
    QCOMPARE(window.focused.back(), op400);
    QVERIFY(controller.keyPressed(HScroll1, Key::End));
    QCOMPARE(window.slowDownShown, 6);
    QCOMPARE(controller.fields().text(Field::nSpomaleni), std::string("6"));
    QVERIFY(!controller.keyPressed(cmdStart, Key::Left)); // left to the toolkit
    QVERIFY(!controller.keyPressed(labZdroj, Key::Tab)); // not a control that takes the focus
    QVERIFY(controller.keyPressed(cmdStart, Key::Enter));
    QCOMPARE(window.runs(), std::size_t(1));
    QVERIFY(controller.keyPressed(cmdKonec, Key::Space));
    QCOMPARE(window.quits, std::vector<int> {0});
}

void TestController::closeDuringRunEndsAfterIt_data()
{
    QTest::addColumn<bool>("konec");
    QTest::newRow("Konec") << true;
    QTest::newRow("the window's close control") << false;
}

void TestController::closeDuringRunEndsAfterIt()
{
    QFETCH(bool, konec);
    FakeFrontEnd window;
    WindowController controller(window, ",");
    controller.Form_Load();
    bool mayCloseThen = true;
    bool quitThen = true;
    window.drawing.duringRun = [&] {
        if (konec)
            controller.cmdKonec_Click();
        else
            mayCloseThen = controller.Form_QueryUnload();
        quitThen = !window.quits.empty();
    };
    controller.cmdStart_Click();
    QVERIFY(!quitThen); // not in the middle of the run
    QVERIFY(konec || !mayCloseThen);
    QCOMPARE(window.drawing.only(Op::Show).size(), std::size_t(7)); // the run completed
    QCOMPARE(window.quits, std::vector<int> {0});
    // Without a run the close is at once.
    QVERIFY(controller.Form_QueryUnload());
}

void TestController::runErrorIsReportedAndEnds_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("index not a number") << int(Field::nIndex) << "abc";
    QTest::newRow("index 0") << int(Field::nIndex) << "0";
    QTest::newRow("distance empty") << int(Field::nVzdalenost) << "";
    QTest::newRow("slow-down 7") << int(Field::nSpomaleni) << "7";
}

void TestController::runErrorIsReportedAndEnds()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    FakeFrontEnd window;
    WindowController controller(window, ",");
    controller.Form_Load();
    controller.fields().set(Field(field), text.toStdString());
    controller.cmdStart_Click();
    QCOMPARE(window.errors.size(), std::size_t(1));
    const QString shown = QString::fromStdString(window.errors.front());
    QVERIFY2(shown.startsWith(QStringLiteral("Chyba za běhu programu:\n")), qPrintable(shown));
    QVERIFY2(shown.endsWith(QStringLiteral("Program se ukončí.")), qPrintable(shown));
    QCOMPARE(window.quits, std::vector<int> {WindowController::kRunErrorExitStatus});
    QVERIFY(!controller.isRunning());
    // What was drawn before the error went to the screen; nothing of the completion happened.
    QVERIFY(!window.drawing.ops.empty() && window.drawing.ops.back().kind == Op::Flush);
    QVERIFY(window.drawing.only(Op::Show).empty());
}

void TestController::sameRunUnderEitherSeparator()
{
    // Written and read back under the same separator, 2,5 and 2.5 make the same run.
    FakeFrontEnd czech, english;
    WindowController czechController(czech, ","), englishController(english, ".");
    for (WindowController *controller : {&czechController, &englishController}) {
        controller->Form_Load();
        controller->option_Click(ControlId::op25);
        controller->option_Click(ControlId::op100);
        controller->cmdStart_Click();
    }
    QCOMPARE(czechController.fields().text(Field::nIndex), std::string("2,5"));
    QCOMPARE(englishController.fields().text(Field::nIndex), std::string("2.5"));
    QVERIFY(!czech.drawing.ops.empty() && czech.drawing.ops == english.drawing.ops);
}

void TestController::pictureInWords_data()
{
    using Clicks = std::vector<ControlId>;
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("index"); // written into nIndex before the clicks
    QTest::addColumn<Clicks>("clicks");
    QTest::addColumn<QString>("name"); // after "Obraz běhu"
    QTest::addColumn<QStringList>("says"); // in the summary, then in the description
    const auto row
        = [](const char *tag, const Clicks &clicks, const char *name, const QStringList &says,
              const char *separator = ",", const char *index = "") {
              QTest::newRow(tag) << separator << index << clicks << QString::fromUtf8(name) << says;
          };
    using enum ControlId;
    row("before any run", {}, "", {"Tlačítko Start zde nakreslí"});
    row("1, 100", {op1, op100, cmdStart}, ": index lomu 1, vzdálenost detektoru 100",
        {"x = 464, úhel α je 14° a úhel β 15°.", "je 0,90 a index lomu je 1: "});
    row("1, 400", {op1, cmdStart}, ": index lomu 1, vzdálenost detektoru 400",
        {"x = 338, úhel α je 48° a úhel β 48°.", "je 1,00, stejný jako index lomu 1:"});
    row("1,5, 100", {op15, op100, cmdStart}, ": index lomu 1,5, vzdálenost detektoru 100",
        {"x = 478, úhel α je 17° a úhel β 10°.", "je 1,70 a index lomu je 1,5: "});
    row("1,5, 400", {op15, cmdStart}, ": index lomu 1,5, vzdálenost detektoru 400",
        {"x = 408, úhel α je 56° a úhel β 33°.", "je 1,52, skoro stejný jako index lomu 1,5:"});
    row("2, 100", {op100, cmdStart}, ": index lomu 2, vzdálenost detektoru 100",
        {"x = 478, úhel α je 17° a úhel β 10°.", "je 1,70 a index lomu je 2: "});
    row("2, 400", {cmdStart}, ": index lomu 2, vzdálenost detektoru 400",
        {"x = 436, úhel α je 58° a úhel β 25°.", "je 2,03, skoro stejný jako index lomu 2:",
            "od x = 282 do x = 548, 39 z 102", "a měří 144 pixelů"});
    row("2,5, 100", {op25, op100, cmdStart}, ": index lomu 2,5, vzdálenost detektoru 100",
        {"x = 485, úhel α je 19° a úhel β 8°.", "je 2,50, stejný jako index lomu 2,5:"});
    row("2.5, 400 in English", {op25, cmdStart}, ": index lomu 2.5, vzdálenost detektoru 400",
        {"x = 450, úhel α je 59° a úhel β 20°.", "je 2.49, skoro stejný jako index lomu 2.5:"},
        ".");
    row("run-time error", {cmdStart}, ": chyba za běhu programu",
        {"Chyba za běhu programu: Text „abc“ v poli nIndex není číslo. Program se ukončí."}, ",",
        "abc");
}

void TestController::pictureInWords()
{
    QFETCH(QString, separator);
    QFETCH(QString, index);
    QFETCH(std::vector<ControlId>, clicks);
    QFETCH(QString, name);
    QFETCH(QStringList, says);
    FakeFrontEnd window;
    WindowController controller(window, separator.toStdString());
    controller.Form_Load();
    if (!index.isEmpty())
        controller.fields().set(Field::nIndex, index.toStdString());
    for (const ControlId click : clicks)
        controller.click(click);
    const PictureDescription &picture = controller.pictureDescription();
    QVERIFY(window.described == picture);
    QCOMPARE(QString::fromStdString(picture.name), "Obraz běhu" + name);
    const QString summary = QString::fromStdString(picture.summary);
    const QString description = QString::fromStdString(picture.description);
    QVERIFY2(
        description.startsWith(summary) && summary.contains(says.front()), qPrintable(summary));
    for (const QString &part : says)
        QVERIFY2(description.contains(part), qPrintable(description));
    // A run tells that it began, and how it ended unless its error box does; no focus moves.
    const bool ran = std::ranges::count(clicks, ControlId::cmdStart) > 0;
    const bool completed = ran && index.isEmpty();
    QCOMPARE(description.contains(QStringLiteral("x = ")), completed);
    std::vector<std::string> announced(ran ? 1 : 0, "Běh začal");
    if (completed)
        announced.push_back(picture.summary);
    QVERIFY(window.announced == announced && window.focused.empty());
}

void TestController::titleFits_data()
{
    QTest::addColumn<double>("advance");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("width");
    QTest::addColumn<bool>("closedUp");
    // Room for the title: from its left edge (320) to 2 px before Start (536).
    QTest::newRow("fits its box") << 150.0 << 1.0 << 201.0 << false;
    QTest::newRow("widened") << 205.0 << 1.0 << 207.0 << false;
    QTest::newRow("up to Start") << 214.0 << 1.0 << 214.0 << false;
    QTest::newRow("closed up") << 230.0 << 1.0 << 214.0 << true;
    QTest::newRow("closed up at 200 %") << 460.0 << 2.0 << 428.0 << true;
}

void TestController::titleFits()
{
    QFETCH(double, advance);
    QFETCH(double, scale);
    QFETCH(double, width);
    QFETCH(bool, closedUp);
    const int characters = 22; // "Fotonar paprsků světla"
    const TitleFit fit = fitTitle(advance, characters, scale);
    QCOMPARE(fit.width, width);
    QCOMPARE(fit.letterSpacing < 0, closedUp);
    // Closed up, the caption takes exactly the room.
    if (closedUp)
        QCOMPARE(advance + fit.letterSpacing * characters, titleRoom() * scale);
}

void TestController::captionsCloseUpToTheirBox()
{
    // "Radiusvektory fotonů na optických trasách" (41 letters) in its 297 px box.
    const ControlSpec &label = controlSpec(ControlId::labRadiusvektory);
    QCOMPARE(captionSpacing(label, 295.1, 41), 0.0);
    QCOMPARE(304 + captionSpacing(label, 304, 41) * 41, 297.0); // WebKitGTK's whole pixels
    QCOMPARE(608 + captionSpacing(label, 608, 41, 2) * 41, 594.0);
}

void TestController::opensMaximizedOnSmallScreens_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("maximized");
    QTest::newRow("1280 x 1024") << 1280 << 1024 << 1.0 << false;
    QTest::newRow("1024 x 768 projector") << 1024 << 768 << 1.0 << true;
    QTest::newRow("1920 x 1080 at 200 %") << 1920 << 1040 << 2.0 << true;
    QTest::newRow("3840 x 2160 at 200 %") << 3840 << 2120 << 2.0 << false;
}

void TestController::opensMaximizedOnSmallScreens()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, scale);
    QFETCH(bool, maximized);
    QCOMPARE(opensMaximized(width, height, scale), maximized);
}

QTEST_GUILESS_MAIN(TestController)
#include "tst_controller.moc"
