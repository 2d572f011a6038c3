// The window without a mouse, and to a screen reader: tab order, keys, accessible names.

#include "fotonar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace fotonar;

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void focusStartsOnStart();
    void focusedScrollBarShowsIt();
    void tabOrder();
    void buttonsPressWithSpaceAndEnter_data();
    void buttonsPressWithSpaceAndEnter();
    void arrowsMoveWithinAnOptionGroup();
    void arrowsMoveTheScrollBar();
    void windowIcon();
    void accessibleNames_data();
    void accessibleNames();
    void scrollBarValueForScreenReaders();
    void revealedLabelsAreReadable();

private:
    QString fieldText(Field field) const
    {
        return QString::fromStdString(m_window->controller().fields().text(field));
    }
    QString decimal(double value) const
    {
        return QString::fromStdString(
            decimalText(value, m_window->controller().fields().separator()));
    }
    template<typename T = QWidget> T *control(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }
    QString focused() const
    {
        QWidget *widget = QApplication::focusWidget();
        return widget ? widget->objectName() : QString();
    }

    std::unique_ptr<Fotonar> m_window;
};

void TestKeyboard::init()
{
    m_window = std::make_unique<Fotonar>();
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestKeyboard::cleanup()
{
    m_window.reset();
}

void TestKeyboard::focusStartsOnStart()
{
    QCOMPARE(focused(), QStringLiteral("cmdStart"));
}

void TestKeyboard::focusedScrollBarShowsIt()
{
    auto *scrollBar = control<QScrollBar>("HScroll1");
    const QImage unfocused = scrollBar->grab().toImage();
    scrollBar->setFocus(Qt::TabFocusReason);
    QVERIFY(scrollBar->hasFocus());
    QVERIFY(scrollBar->grab().toImage() != unfocused);
}

void TestKeyboard::tabOrder()
{
    // The layout's order among the visible controls, stopping at the chosen option of a frame.
    control("cmdStart")->setFocus(Qt::TabFocusReason);
    QStringList forward {focused()};
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << focused();
    }
    QCOMPARE(forward.join(QLatin1Char(' ')),
        QStringLiteral("cmdStart cmdKonec op400 op2 HScroll1 cmdStart"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(focused(), QStringLiteral("HScroll1"));

    // With "1" chosen, the index frame's stop moves to its place before Konec.
    QTest::mouseClick(control<QRadioButton>("op1"), Qt::LeftButton, {}, QPoint(6, 6));
    control("cmdStart")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focused(), QStringLiteral("op1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focused(), QStringLiteral("cmdKonec"));
}

void TestKeyboard::buttonsPressWithSpaceAndEnter_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::newRow("Start, Space") << "cmdStart" << int(Qt::Key_Space);
    QTest::newRow("Start, Return") << "cmdStart" << int(Qt::Key_Return);
    QTest::newRow("Konec, Enter") << "cmdKonec" << int(Qt::Key_Enter);
    QTest::newRow("Konec, Space") << "cmdKonec" << int(Qt::Key_Space);
}

void TestKeyboard::buttonsPressWithSpaceAndEnter()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    auto *pressed = control<QPushButton>(qPrintable(button));
    pressed->setFocus(Qt::TabFocusReason);
    QTest::keyClick(pressed, Qt::Key(key));
    QCOMPARE(m_window->controller().runsStarted(), button == QLatin1String("cmdStart") ? 1 : 0);
    if (button == QLatin1String("cmdStart"))
        QVERIFY(!control("labZdroj")->isHidden()); // a whole run went by
    else
        QVERIFY(!m_window->isVisible());
}

void TestKeyboard::arrowsMoveWithinAnOptionGroup()
{
    // Left to right the frame reads 1, 1,5, 2, 2,5.
    control("op2")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(focused(), QStringLiteral("op25"));
    QVERIFY(control<QRadioButton>("op25")->isChecked());
    QCOMPARE(fieldText(Field::nIndex), decimal(2.5));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(focused(), QStringLiteral("op15"));
    QCOMPARE(fieldText(Field::nIndex), decimal(1.5));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(focused(), QStringLiteral("op1"));
    QCOMPARE(fieldText(Field::nIndex), QStringLiteral("1"));
    // The distance frame is a group of its own.
    QVERIFY(control<QRadioButton>("op400")->isChecked());
    QCOMPARE(fieldText(Field::nVzdalenost), QStringLiteral("400"));
}

void TestKeyboard::arrowsMoveTheScrollBar()
{
    auto *scrollBar = control<QScrollBar>("HScroll1");
    scrollBar->setFocus(Qt::TabFocusReason);
    QVERIFY(scrollBar->hasFocus());
    QTest::keyClick(scrollBar, Qt::Key_Right);
    QTest::keyClick(scrollBar, Qt::Key_Right);
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("3"));
    QTest::keyClick(scrollBar, Qt::Key_End);
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("6"));
    QTest::keyClick(scrollBar, Qt::Key_Right);
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("6"));
    QTest::keyClick(scrollBar, Qt::Key_Home);
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("1"));
}

void TestKeyboard::windowIcon()
{
    QTRY_VERIFY(!m_window->windowIcon().isNull()); // set once the window has been exposed
    QVERIFY(m_window->windowIcon().availableSizes().contains(QSize(256, 256)));
}

void TestKeyboard::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    const std::pair<const char *, const char *> names[] = {{"cmdStart", "Start"},
        {"cmdKonec", "Konec"}, {"op15", "1,5"}, {"op400", "400"}, {"frmIndex", "Index lomu"},
        {"frmVzdalenost", "Dál od Zdroje"}, {"HScroll1", "Zpomalení"},
        {"labFotonar", "Fotonar paprsků světla"}, {"labKliknout", "Klikněte na tlačítko Start"},
        {"imaAlfy", "úhel α"}, {"imaBeta", "úhel β"}};
    for (const auto &[name, accessible] : names)
        QTest::newRow(name) << QString(name) << QString::fromUtf8(accessible);
}

void TestKeyboard::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    QAccessibleInterface *accessible
        = QAccessible::queryAccessibleInterface(control(qPrintable(name)));
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
}

void TestKeyboard::scrollBarValueForScreenReaders()
{
    auto *scrollBar = control<QScrollBar>("HScroll1");
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(scrollBar);
    QVERIFY(accessible);
    QAccessibleValueInterface *value = accessible->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->minimumValue().toInt(), 1);
    QCOMPARE(value->maximumValue().toInt(), 6);
    QCOMPARE(value->currentValue().toInt(), 1);
    value->setCurrentValue(4); // a screen reader's user sets it
    QCOMPARE(fieldText(Field::nSpomaleni), QStringLiteral("4"));
}

void TestKeyboard::revealedLabelsAreReadable()
{
    QAccessibleInterface *zdroj = QAccessible::queryAccessibleInterface(control("labZdroj"));
    QVERIFY(zdroj->state().invisible);
    QTest::mouseClick(control<QPushButton>("cmdStart"), Qt::LeftButton);
    for (const char *name : {"labZdroj", "labDetektor", "labCas", "labSuma", "labRadiusvektory"}) {
        QAccessibleInterface *label = QAccessible::queryAccessibleInterface(control(name));
        QVERIFY2(!label->state().invisible, name);
        QCOMPARE(label->text(QAccessible::Name), control<QLabel>(name)->text());
    }
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
