// What both front ends share: the layout table, the tab rule, and the parameter texts read
// and written under a decimal separator.

#include "fieldtext.h"
#include "framepacer.h"
#include "layout.h"

#include <QTest>

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
    void optionTexts_data();
    void optionTexts();
    void layoutIsConsistent();
    void tabStopsAtTheChosenOptions();
    void arrowsStayInTheirFrame();
    void framesFollowTheScreen_data();
    void framesFollowTheScreen();
};

void TestShared::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "2,5"
                           << "," << true << 2.5;
    QTest::newRow("point") << "2.5"
                           << "." << true << 2.5;
    QTest::newRow("point under comma") << "2.5"
                                       << "," << false << 0.0;
    QTest::newRow("blanks and sign") << " -1,5 "
                                     << "," << true << -1.5;
    QTest::newRow("exponent") << "1e2"
                              << "." << true << 100.0;
    QTest::newRow("too large") << "1e400"
                               << "." << false << 0.0;
    QTest::newRow("grouping") << "1,000"
                              << "." << false << 0.0;
    QTest::newRow("two separators") << "1,5,0"
                                    << "," << false << 0.0;
    QTest::newRow("nan") << "nan"
                         << "." << false << 0.0;
    QTest::newRow("separator alone") << ","
                                     << "," << false << 0.0;
    QTest::newRow("empty") << ""
                           << "." << false << 0.0;
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

void TestShared::optionTexts_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("op1") << "op1"
                         << "," << int(Field::nIndex) << "1";
    QTest::newRow("op15 cs") << "op15"
                             << "," << int(Field::nIndex) << "1,5";
    QTest::newRow("op25 en") << "op25"
                             << "." << int(Field::nIndex) << "2.5";
    QTest::newRow("op100") << "op100"
                           << "," << int(Field::nVzdalenost) << "100";
    QTest::newRow("op400") << "op400"
                           << "." << int(Field::nVzdalenost) << "400";
}

void TestShared::optionTexts()
{
    QFETCH(QString, option);
    QFETCH(QString, separator);
    QFETCH(int, field);
    QFETCH(QString, text);
    const std::optional<FieldWrite> choice = optionChoice(option.toStdString());
    QVERIFY(choice);
    QCOMPARE(int(choice->field), field);
    QCOMPARE(QString::fromStdString(fieldText(*choice, separator.toStdString())), text);
    // What is written reads back as the same number.
    QCOMPARE(
        fotonar::readNumber(fieldText(*choice, separator.toStdString()), separator.toStdString()),
        std::optional<double>(choice->value));
    QVERIFY(!optionChoice("cmdStart"));
}

void TestShared::layoutIsConsistent()
{
    std::set<std::string_view> names;
    for (const ControlSpec &entry : windowLayout()) {
        QVERIFY2(names.insert(entry.name).second, entry.name.data());
        if (!entry.container.empty())
            QCOMPARE(int(controlSpec(entry.container).kind), int(ControlKind::Frame));
        QVERIFY(entry.box.right() <= kPreferredWidth);
    }
    // The images' boxes are their bitmaps' sizes: nothing is scaled.
    QCOMPARE(controlSpec("imaAlfy").box.width * 100 + controlSpec("imaAlfy").box.height, 1511);
    QCOMPARE(controlSpec("imaBeta").box.width * 100 + controlSpec("imaBeta").box.height, 1222);
    QCOMPARE(titleRoom(), 214);
    QVERIFY(windowCaption().starts_with("Fotonar světla - "));
}

void TestShared::tabStopsAtTheChosenOptions()
{
    std::string order;
    for (const ControlSpec *entry : tabOrder())
        order += std::string(entry->name) + ' ';
    QCOMPARE(QString::fromStdString(order),
        QStringLiteral("cmdStart op1 cmdKonec op400 op100 op2 op15 op25 HScroll1 "));

    // With 2 and 400 chosen, Tab goes Start, Konec, 400, 2, the scroll bar, and round.
    const std::set<std::string_view> chosen {"op2", "op400"};
    const auto isStop = [&](const ControlSpec &entry) {
        return entry.kind != ControlKind::Option || chosen.count(entry.name);
    };
    std::size_t at = 0;
    std::string visited;
    for (int i = 0; i < 5; ++i) {
        at = nextTabStop(at, true, isStop);
        visited += std::string(tabOrder()[at]->name) + ' ';
    }
    QCOMPARE(
        QString::fromStdString(visited), QStringLiteral("cmdKonec op400 op2 HScroll1 cmdStart "));
    QCOMPARE(tabOrder()[nextTabStop(0, false, isStop)]->name, std::string_view("HScroll1"));
}

void TestShared::arrowsStayInTheirFrame()
{
    QCOMPARE(adjacentOption(controlSpec("op2"), 1)->name, std::string_view("op25"));
    QCOMPARE(adjacentOption(controlSpec("op2"), -1)->name, std::string_view("op15"));
    QVERIFY(!adjacentOption(controlSpec("op25"), 1));
    QVERIFY(!adjacentOption(controlSpec("op1"), -1));
    QCOMPARE(adjacentOption(controlSpec("op400"), 1)->name, std::string_view("op100"));
}

QTEST_GUILESS_MAIN(TestShared)
void TestShared::framesFollowTheScreen_data()
{
    // The time from one present to the next, in microseconds, repeated for 102 presents; a
    // 60 Hz screen.
    QTest::addColumn<std::vector<int>>("gaps");
    QTest::addColumn<int>("fewestFrames");
    QTest::addColumn<int>("mostFrames");
    QTest::newRow("slow-down 1: many presents a refresh") << std::vector {600} << 3 << 5;
    QTest::newRow("a pause of a refresh") << std::vector {16'667} << 102 << 102;
    QTest::newRow("pauses jittering about 18 ms") << std::vector {15'000, 21'000} << 102 << 102;
    QTest::newRow("pauses of half a refresh") << std::vector {8'333} << 50 << 52;
}

void TestShared::framesFollowTheScreen()
{
    QFETCH(std::vector<int>, gaps);
    QFETCH(int, fewestFrames);
    QFETCH(int, mostFrames);
    const std::chrono::nanoseconds refresh(16'666'667);
    FramePacer pacer;
    FramePacer::Clock::time_point now {};
    int frames = 0;
    for (int present = 0; present < 102; ++present) {
        if (pacer.due(now)) {
            pacer.frameShown(now, refresh);
            ++frames;
        }
        now += std::chrono::microseconds(gaps[std::size_t(present) % gaps.size()]);
    }
    QVERIFY2(
        frames >= fewestFrames && frames <= mostFrames, QByteArray::number(frames).constData());
}

#include "tst_shared.moc"
