// The run against a recording surface: what it computes and what it asks the surface to draw.

#include "recordingsurface.h"
#include "run.h"
#include "runerror.h"

#include <QTest>

#include <cmath>

using namespace fotonar;
using fotonar::test::FixedParameters;
using fotonar::test::Op;
using fotonar::test::RecordingSurface;

namespace {

bool near(double actual, double expected, double tolerance)
{
    return std::fabs(actual - expected) <= tolerance;
}

// Lines of one path in drawing order: source leg, detector leg, arrow, spiral segment, time bar.
constexpr int kLinesPerPath = 5;
// The scene before the sweep: 700 erase rows, 201 band rows, the boundary and two time axes.
constexpr int kSceneLines = 700 + 201 + 1 + 2;

// A run against a recording surface of its own, over the fields' texts, taken as far as `until`.
struct RecordedRun
{
    enum Until { NotStarted, SetUp, Swept, Completed };

    RecordedRun(const QString &index, const QString &distance, Until until,
        const QString &slowDown = QStringLiteral("1"))
        : parameters(index.toStdString(), distance.toStdString(), slowDown.toStdString())
    {
        if (until == Completed)
            run.execute(); // the whole run, as Start runs it
        else if (until != NotStarted)
            run.setUp();
        if (until == Swept)
            run.sweep();
    }

    RecordingSurface surface;
    FixedParameters parameters;
    Run run {surface, parameters};
};

// The columns of the fields' texts that most rows give.
void addFieldColumns()
{
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("distance");
}

// A row of the fields' texts, named after them ("1,5, 100").
QTestData &fieldsRow(const char *index, const char *distance)
{
    return QTest::addRow("%s, %s", index, distance) << QString(index) << QString(distance);
}

// A row of the fields' texts named for what is odd about them.
QTestData &namedFieldsRow(const char *name, const char *index, const char *distance)
{
    return QTest::newRow(name) << QString(index) << QString(distance);
}

std::vector<Op> pathLines(const RecordingSurface &surface)
{
    std::vector<Op> lines = surface.only(Op::Line);
    return {lines.begin() + kSceneLines,
        lines.begin() + kSceneLines + std::ptrdiff_t(102) * kLinesPerPath};
}

} // namespace

class TestRun : public QObject
{
    Q_OBJECT

private slots:
    void setUpValues_data();
    void setUpValues();
    void defaultWorkingValues();
    void sweepResults_data();
    void sweepResults();
    void firstPathIndexOneDistance100();
    void sweepVisits102BoundaryPoints();
    void legWidths();
    void scene();
    void completionPlacesControls_data();
    void completionPlacesControls();
    void completionDrawsResult();
    void sameParametersSameRun();
    void faultyFields_data();
    void faultyFields();
    void oddButValidFieldsComplete_data();
    void oddButValidFieldsComplete();
};

void TestRun::setUpValues_data()
{
    addFieldColumns();
    QTest::addColumn<double>("detectorX");
    QTest::addColumn<double>("originX");
    QTest::addColumn<double>("originY");

    fieldsRow("1", "100") << 415.0 << 605.0 << 140.5;
    fieldsRow("1", "400") << 115.0 << 505.0 << 140.5;
    fieldsRow("1,5", "100") << 415.0 << 705.0 << 170.5;
    fieldsRow("1.5", "400") << 115.0 << 705.0 << 170.5;
    fieldsRow("2", "100") << 415.0 << 585.0 << 140.5;
    fieldsRow("2", "400") << 115.0 << 585.0 << 140.5;
    fieldsRow("2,5", "100") << 415.0 << 725.0 << 130.5;
    fieldsRow("2.5", "400") << 115.0 << 725.0 << 130.5;
    namedFieldsRow("unknown index 3", "3", "400") << 115.0 << 505.0 << 90.5;
    namedFieldsRow("unknown index 1.25", "1,25", "100") << 415.0 << 505.0 << 90.5;
}

void TestRun::setUpValues()
{
    QFETCH(QString, index);
    QFETCH(QString, distance);
    QFETCH(double, detectorX);
    QFETCH(double, originX);
    QFETCH(double, originY);

    const RecordedRun recorded(index, distance, RecordedRun::SetUp);
    const RunState &s = recorded.run.state();
    QCOMPARE(s.detectorX, detectorX);
    QCOMPARE(s.detectorY, 90.5);
    QCOMPARE(s.spiralX, originX);
    QCOMPARE(s.spiralY, originY);
    QCOMPARE(s.shortestPath, 100000.0);
    QCOMPARE(s.shortestOffset, 0);
    QCOMPARE(s.pathOffset, 1);
}

void TestRun::defaultWorkingValues()
{
    const RecordedRun recorded("2", "400", RecordedRun::SetUp);
    const RunState &s = recorded.run.state();
    QCOMPARE(s.sceneWidth, 800);
    QCOMPARE(s.sceneHeight, 581);
    QVERIFY(near(s.phaseRate, 0.01727451, 1e-12));
    QCOMPARE(s.leftX, 50);
    QCOMPARE(s.rightX, 760);
    QCOMPARE(s.midX, 405.0);
    QCOMPARE(s.boundaryY, 290.5);
    QCOMPARE(s.sourceX, 505.0);
    QCOMPARE(s.sourceY, 440.5);
    QCOMPARE(s.distanceD, 400.0);
    QCOMPARE(s.indexN, 2.0);
    QCOMPARE(s.arrowLength, 15);
    QCOMPARE(s.sweepStep, 7);
    QCOMPARE(s.spiralOffsetX, 80);
    QCOMPARE(s.spiralOffsetY, 50);
    QCOMPARE(s.pathAir, 0.0);
    QCOMPARE(s.phase, 0.0);

    // Handed to the sweep: pen 2, solid fill in background grey.
    const Op &last = recorded.surface.ops.back();
    QCOMPARE(last.penWidth, 2);
    QCOMPARE(last.fillStyle, FillStyle::Solid);
    QCOMPARE(last.fillColour, kBackgroundGrey);
}

void TestRun::sweepResults_data()
{
    addFieldColumns();
    QTest::addColumn<int>("shortestOffset");
    QTest::addColumn<double>("shortestPath");
    QTest::addColumn<double>("endX");
    QTest::addColumn<double>("endY");

    fieldsRow("1", "100") << 414 << 361.4174 << 688.3 << 209.1;
    fieldsRow("1", "400") << 288 << 524.0229 << 733.894 << 138.371;
    fieldsRow("1,5", "100") << 428 << 438.3038 << 587.5 << 151.5;
    fieldsRow("1,5", "400") << 358 << 622.6984 << 561.4 << 95.1;
    fieldsRow("2", "100") << 428 << 514.5091 << 687.7 << 132.2;
    fieldsRow("2", "400") << 386 << 708.4257 << 727.181 << 163.906;
    fieldsRow("2,5", "100") << 435 << 590.2148 << 659.732 << 196.421;
    fieldsRow("2,5", "400") << 400 << 789.5739 << 585.6 << 147.3;
}

void TestRun::sweepResults()
{
    QFETCH(QString, index);
    QFETCH(QString, distance);
    QFETCH(int, shortestOffset);
    QFETCH(double, shortestPath);
    QFETCH(double, endX);
    QFETCH(double, endY);

    const RecordedRun recorded(index, distance, RecordedRun::Swept);
    const RunState &s = recorded.run.state();
    QCOMPARE(s.shortestOffset, shortestOffset);
    QVERIFY2(near(s.shortestPath, shortestPath, 5e-5),
        qPrintable(QString::number(s.shortestPath, 'f', 6)));
    // The tables give the spiral's end to 0.1 px, or to three decimals where they have them.
    const double tolerance = std::round(endX * 10) == endX * 10 ? 0.05 : 0.0005;
    QVERIFY2(near(s.spiralX, endX, tolerance) && near(s.spiralY, endY, tolerance),
        qPrintable(QStringLiteral("(%1, %2)").arg(s.spiralX, 0, 'f', 4).arg(s.spiralY, 0, 'f', 4)));
}

void TestRun::firstPathIndexOneDistance100()
{
    RecordedRun recorded("1", "100", RecordedRun::SetUp);
    const std::vector<Op> &ops = recorded.surface.ops;
    const std::size_t before = ops.size();
    recorded.run.drawPath();
    const RunState &s = recorded.run.state();
    QVERIFY(near(s.pathAir, 415.326378, 5e-7));
    QVERIFY(near(s.pathMedium, 478.138055, 5e-7));
    QVERIFY(near(s.pathAir + s.pathMedium, 893.464433, 5e-7));
    QVERIFY(near(s.phase, 30.868321, 5e-7));

    std::vector<Op> lines;
    for (std::size_t i = before; i < ops.size(); ++i)
        if (ops[i].kind == Op::Line)
            lines.push_back(ops[i]);
    QCOMPARE(lines.size(), std::size_t(kLinesPerPath));
    const Op &bar = lines[4];
    QCOMPARE(bar.x1, 51.0f);
    QCOMPARE(bar.y1, 490.5f);
    QCOMPARE(bar.x2, 51.0f);
    QVERIFY(near(bar.y2, 386.48, 0.005));
    QCOMPARE(bar.penWidth, 2);

    // The arrow starts at the row 70 below the source and points along the phase.
    const Op &arrow = lines[2];
    QCOMPARE(arrow.y1, 510.5f);
    QVERIFY(near(arrow.x2, 51 + 15 * std::cos(s.phase), 1e-4));
    QVERIFY(near(arrow.y2, 510.5 + 15 * std::sin(s.phase), 1e-4));
    QCOMPARE(arrow.penWidth, 3);
    QCOMPARE(ops.back().kind, Op::Present); // shown before its pause
}

void TestRun::sweepVisits102BoundaryPoints()
{
    const RecordedRun recorded("2", "400", RecordedRun::Swept);
    const RecordingSurface &surface = recorded.surface;

    const std::vector<Op> lines = pathLines(surface);
    std::vector<float> crossings;
    for (std::size_t i = 0; i < lines.size(); i += kLinesPerPath) {
        QCOMPARE(lines[i].x2, lines[i + 1].x2); // both legs meet at the boundary point
        QCOMPARE(lines[i].y2, 290.5f);
        crossings.push_back(lines[i].x2);
    }
    QCOMPARE(crossings.size(), std::size_t(102));
    QCOMPARE(crossings.front(), 51.0f);
    QCOMPARE(crossings.back(), 758.0f);
    for (std::size_t i = 1; i < crossings.size(); ++i)
        QCOMPARE(crossings[i] - crossings[i - 1], 7.0f);
    QCOMPARE(surface.only(Op::Present).size(), std::size_t(102));
    // Nothing beyond the sweep's own lines was drawn.
    QCOMPARE(surface.only(Op::Line).size(), std::size_t(kSceneLines + 102 * kLinesPerPath));
}

void TestRun::legWidths()
{
    const RecordedRun recorded("2", "400", RecordedRun::Swept);
    const RecordingSurface &surface = recorded.surface;
    const std::vector<Op> lines = pathLines(surface);
    QCOMPARE(lines[0].penWidth, 2);
    QCOMPARE(lines[1].penWidth, 2);
    for (std::size_t i = kLinesPerPath; i < lines.size(); i += kLinesPerPath) {
        QCOMPARE(lines[i].penWidth, 1);
        QCOMPARE(lines[i + 1].penWidth, 1);
        QCOMPARE(lines[i + 3].penWidth, 1); // spiral segment
    }
    for (const Op &line : lines)
        QCOMPARE(line.colour, std::optional<Colour>(kDarkGrey));
    // The dot at the foot of each arrow: radius 1, foreground outline, grey fill, pen 3.
    const std::vector<Op> circles = surface.only(Op::Circle);
    QCOMPARE(circles.size(), std::size_t(2 + 102));
    QCOMPARE(circles[2].r, 1.0f);
    QCOMPARE(circles[2].colour, std::nullopt);
    QCOMPARE(circles[2].penWidth, 3);
    QCOMPARE(circles[2].fillColour, kBackgroundGrey);
}

void TestRun::scene()
{
    const RecordedRun recorded("2", "100", RecordedRun::SetUp);
    const RecordingSurface &surface = recorded.surface;
    const std::vector<Op> lines = surface.only(Op::Line);
    QCOMPARE(lines.size(), std::size_t(kSceneLines));
    for (int r = 0; r < 700; ++r) {
        const Op &row = lines[r];
        QCOMPARE(row.x1, 1.0f);
        QCOMPARE(row.x2, 800.0f);
        QCOMPARE(row.y1, float(31 + r));
        QCOMPARE(row.y2, row.y1);
        QCOMPARE(row.penWidth, 1);
        QCOMPARE(row.colour, std::optional<Colour>(kBackgroundGrey));
    }
    for (int r = 0; r < 201; ++r) {
        const Op &row = lines[700 + r];
        QCOMPARE(row.x1, 50.0f);
        QCOMPARE(row.x2, 760.0f);
        QCOMPARE(row.y1, 291.5f + float(r));
        QCOMPARE(row.penWidth, 2);
        QCOMPARE(row.colour, std::optional<Colour>(kLightGreen));
    }
    const Op &boundary = lines[901];
    QCOMPARE(boundary.y1, 290.5f);
    QCOMPARE(boundary.colour, std::optional<Colour>(kDarkGrey));
    QCOMPARE(lines[902].y1, 490.5f); // the time graph's base line
    QCOMPARE(lines[903].y1, 340.5f); // its vertical axis, up from the base line
    QCOMPARE(lines[903].x1, 50.0f);

    const std::vector<Op> circles = surface.only(Op::Circle);
    QCOMPARE(circles.size(), std::size_t(2));
    QCOMPARE(circles[0].x1, 505.0f); // the source, white
    QCOMPARE(circles[0].y1, 440.5f);
    QCOMPARE(circles[0].fillColour, kCaptionText);
    QCOMPARE(circles[0].penWidth, 3);
    QCOMPARE(circles[1].x1, 415.0f); // the detector, grey like the air around it
    QCOMPARE(circles[1].y1, 90.5f);
    QCOMPARE(circles[1].fillColour, kBackgroundGrey);
    QCOMPARE(circles[1].fillStyle, FillStyle::Solid);
    QCOMPARE(circles[1].r, 6.0f);
}

void TestRun::completionPlacesControls_data()
{
    addFieldColumns();
    QTest::addColumn<float>("detectorLeft");
    QTest::addColumn<float>("shortestX");

    fieldsRow("2", "400") << 115.0f << 436.0f;
    fieldsRow("1", "100") << 415.0f << 464.0f;
    fieldsRow("1,5", "400") << 115.0f << 408.0f;
}

void TestRun::completionPlacesControls()
{
    QFETCH(QString, index);
    QFETCH(QString, distance);
    QFETCH(float, detectorLeft);
    QFETCH(float, shortestX);

    const RecordedRun recorded(index, distance, RecordedRun::Completed);

    struct Placement
    {
        Control control;
        float left, top;
    };
    const Placement expected[] = {
        {Control::labZdroj, 470, 448.5f},
        {Control::labDetektor, detectorLeft, 65.5f},
        {Control::labCas, 60, 340.5f},
        {Control::imaAlfy, shortestX - 20, 190.5f},
        {Control::imaBeta, shortestX + 5, 390.5f},
        {Control::labSuma, 575, 65.5f},
        {Control::labRadiusvektory, 400, 526},
    };
    std::vector<Op> placements;
    for (const Op &op : recorded.surface.ops)
        if (op.kind == Op::Show || op.kind == Op::Move)
            placements.push_back(op);
    QCOMPARE(placements.size(), std::size_t(14));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Op &show = placements[2 * i];
        const Op &move = placements[2 * i + 1];
        QCOMPARE(show.kind, Op::Show); // visible first, then placed
        QCOMPARE(show.control, expected[i].control);
        QCOMPARE(move.control, expected[i].control);
        QCOMPARE(move.x1, expected[i].left);
        QCOMPARE(move.y1, expected[i].top);
    }
}

void TestRun::completionDrawsResult()
{
    const RecordedRun recorded("2", "400", RecordedRun::Completed);
    const RecordingSurface &surface = recorded.surface;

    const std::vector<Op> lines = surface.only(Op::Line);
    const std::vector<Op> result(lines.end() - 4, lines.end());
    for (const Op &line : result)
        QCOMPARE(line.penWidth, 2);
    QCOMPARE(result[0].x1, 505.0f); // source leg of the least-time path
    QCOMPARE(result[0].x2, 436.0f);
    QCOMPARE(result[0].y2, 290.5f);
    QCOMPARE(result[1].x1, 115.0f); // its detector leg
    QCOMPARE(result[1].x2, 436.0f);
    QCOMPARE(result[2].colour, std::optional<Colour>(rgb(0, 255, 0))); // the resultant
    QCOMPARE(result[2].x1, 585.0f);
    QCOMPARE(result[2].y1, 140.5f);
    QVERIFY(near(result[2].x2, 727.2, 0.05) && near(result[2].y2, 163.9, 0.05));
    QCOMPARE(result[3].colour, std::nullopt); // the normal, in the foreground colour
    QCOMPARE(result[3].x1, 436.0f);
    QCOMPARE(result[3].y1, 470.5f);
    QCOMPARE(result[3].x2, 436.0f);
    QCOMPARE(result[3].y2, 90.5f);

    const Op detector = surface.only(Op::Circle).back();
    QCOMPARE(detector.x1, 115.0f);
    QCOMPARE(detector.y1, 90.5f);
    QCOMPARE(detector.r, 6.0f);
    QCOMPARE(detector.penWidth, 2);
    QCOMPARE(detector.fillColour, kCaptionText);
    QCOMPARE(detector.fillStyle, FillStyle::Solid);
    QCOMPARE(detector.colour, std::optional<Colour>(kDarkGrey));
    QCOMPARE(surface.ops.back().kind, Op::Flush);
}

void TestRun::sameParametersSameRun()
{
    const RecordedRun first("1,5", "100", RecordedRun::Completed);
    const RecordedRun second("1,5", "100", RecordedRun::Completed);
    QVERIFY(first.surface.ops == second.surface.ops);
}

void TestRun::faultyFields_data()
{
    addFieldColumns();
    QTest::addColumn<QString>("slowDown");

    namedFieldsRow("index not a number", "abc", "400") << QString("1");
    namedFieldsRow("index empty", "", "400") << QString("1");
    namedFieldsRow("index nan", "nan", "400") << QString("1");
    namedFieldsRow("index inf", "inf", "400") << QString("1");
    namedFieldsRow("index too large", "1e400", "400") << QString("1");
    namedFieldsRow("index 0: division by zero", "0", "400") << QString("1");
    namedFieldsRow("distance not a number", "2", "x") << QString("1");
    namedFieldsRow("distance nan", "2", "nan") << QString("1");
    namedFieldsRow("distance overflows a single", "2", "1e300") << QString("1");
    namedFieldsRow("slow-down not a number", "2", "400") << QString("pomalu");
    namedFieldsRow("slow-down endless", "2", "400") << QString("1e9");
}

void TestRun::faultyFields()
{
    QFETCH(QString, index);
    QFETCH(QString, distance);
    QFETCH(QString, slowDown);

    RecordedRun recorded(index, distance, RecordedRun::NotStarted, slowDown);
    QVERIFY_THROWS_EXCEPTION(RunError, recorded.run.execute());
    // Whatever was drawn before the fault is finite: no garbage reached the surface.
    const RecordingSurface &surface = recorded.surface;
    for (const Op &op : surface.ops)
        QVERIFY(std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2)
            && std::isfinite(op.y2));
    QVERIFY(surface.only(Op::Show).empty());
}

void TestRun::oddButValidFieldsComplete_data()
{
    addFieldColumns();
    QTest::addColumn<float>("detectorX");

    namedFieldsRow("distance 0: detector right of the source", "2", "0") << 515.0f;
    namedFieldsRow("distance 10000: detector far left", "2", "10000") << -9485.0f;
    namedFieldsRow("negative index", "-1", "400") << 115.0f;
}

void TestRun::oddButValidFieldsComplete()
{
    QFETCH(QString, index);
    QFETCH(QString, distance);
    QFETCH(float, detectorX);

    const RecordedRun recorded(index, distance, RecordedRun::Completed);
    const RecordingSurface &surface = recorded.surface;
    QCOMPARE(surface.only(Op::Show).size(), std::size_t(7));
    QCOMPARE(surface.only(Op::Circle).back().x1, detectorX);
}

QTEST_GUILESS_MAIN(TestRun)
#include "tst_run.moc"
