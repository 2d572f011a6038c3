// The parameter fields read back under the locale that wrote them, so a run sees the same
// numbers on a Czech and on an English desktop.

#include "parameterfields.h"
#include "recordingsurface.h"
#include "run.h"

#include <QTest>

using namespace fotonar;
using fotonar::test::RecordingSurface;

namespace {

const QLocale kCzech(QLocale::Czech, QLocale::Czechia);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

} // namespace

class TestParameterFields : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void writingReadsBack_data();
    void writingReadsBack();
    void sameRunInBothLocales();
};

void TestParameterFields::reading_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");

    QTest::newRow("cs 2,5") << kCzech << "2,5" << true << 2.5;
    QTest::newRow("en 2.5") << kEnglish << "2.5" << true << 2.5;
    QTest::newRow("cs whole") << kCzech << "400" << true << 400.0;
    QTest::newRow("en whole") << kEnglish << "100" << true << 100.0;
    QTest::newRow("cs no grouping") << kCzech << "1 000" << false << 0.0;
    QTest::newRow("en no grouping") << kEnglish << "1,000" << false << 0.0;
    QTest::newRow("empty") << kCzech << "" << false << 0.0;
    QTest::newRow("word") << kEnglish << "dva" << false << 0.0;
}

void TestParameterFields::reading()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);

    ParameterFields fields(locale);
    fields.setFieldText(Field::nIndex, text);
    const std::optional<double> number = fields.number(Field::nIndex);
    QCOMPARE(number.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*number, value);
    QCOMPARE(QString::fromStdString(fields.text(Field::nIndex)), text);
}

void TestParameterFields::writingReadsBack_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text15");
    QTest::newRow("cs") << kCzech << "1,5";
    QTest::newRow("en") << kEnglish << "1.5";
    QTest::newRow("de") << QLocale(QLocale::German) << "1,5";
    QTest::newRow("C") << QLocale::c() << "1.5";
}

void TestParameterFields::writingReadsBack()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text15);
    ParameterFields fields(locale);
    QCOMPARE(fields.decimalText(1.5), text15);
    QCOMPARE(ParameterFields::wholeNumberText(6), QStringLiteral("6"));
    for (double value : {1.5, 2.5}) {
        fields.setFieldText(Field::nIndex, fields.decimalText(value));
        QCOMPARE(fields.number(Field::nIndex), std::optional<double>(value));
    }
}

void TestParameterFields::sameRunInBothLocales()
{
    RecordingSurface czech, english;
    ParameterFields czechFields(kCzech), englishFields(kEnglish);
    for (ParameterFields *fields : {&czechFields, &englishFields}) {
        fields->setFieldText(Field::nIndex, fields->decimalText(2.5));
        fields->setFieldText(Field::nVzdalenost, ParameterFields::wholeNumberText(100));
        fields->setFieldText(Field::nSpomaleni, ParameterFields::wholeNumberText(1));
    }
    QCOMPARE(czechFields.fieldText(Field::nIndex), QStringLiteral("2,5"));
    QCOMPARE(englishFields.fieldText(Field::nIndex), QStringLiteral("2.5"));

    Run czechRun(czech, czechFields);
    czechRun.execute();
    Run(english, englishFields).execute();
    QVERIFY(czech.ops == english.ops);
    QCOMPARE(czechRun.state().spiralOffsetX, 220); // the first row of the spiral table
    QCOMPARE(czechRun.state().spiralOffsetY, 40);
}

QTEST_GUILESS_MAIN(TestParameterFields)
#include "tst_parameterfields.moc"
