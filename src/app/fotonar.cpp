#include "fotonar.h"

#include "bitmapview.h"

#include "run.h"
#include "runerror.h"
#include "surfacewidget.h"
#include "systemcolours.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

namespace fotonar {

namespace {

const QString kHomepage = QStringLiteral(FOTONAR_HOMEPAGE);

// The layout was designed at 96 dots per inch; point sizes become the pixel sizes they had
// there, so every caption fits its box on any screen.
constexpr int k9_75pt = 13;
constexpr int k12pt = 16;
constexpr int k14_25pt = 19;
constexpr int k15_75pt = 21;
constexpr int k17_25pt = 23;
// The controls without a font of their own (the option buttons) get a small sans serif, the
// size of the classic desktop's 8-point dialog font.
constexpr int kDefaultFontPixels = 11;

// Open maximized where the window at its preferred size would take more than this share of
// the screen's width or height anyway (a 1024 x 768 projector, a small laptop).
constexpr double kMaximizeShare = 0.8;

QFont timesBold(int pixelSize)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

void setBackground(QWidget *widget, Colour colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    widget->setPalette(palette);
}

template<typename W> W *place(W *widget, const char *name, QRect geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

// The option buttons' boxes are as narrow as 25 px for "1": a 13 px indicator with little space
// before the caption, as the layout was drawn.
class OptionStyle : public QProxyStyle
{
public:
    int pixelMetric(
        PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return 13;
        case PM_RadioButtonLabelSpacing:
            return 3;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

QRadioButton *makeOption(
    QGroupBox *frame, const char *name, QRect geometry, const QString &caption, QStyle *style)
{
    auto *option = place(new QRadioButton(caption, frame), name, geometry);
    // Arial's metrics: fontconfig gives Liberation Sans, which comes with the Times stand-in.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kDefaultFontPixels);
    font.setBold(false); // not the frame's bold title font
    option->setFont(font);
    option->setStyle(style);
    return option;
}

QLabel *makeLabel(QWidget *window, const char *name, QRect geometry, const QString &caption,
    int fontPixels, Colour background)
{
    auto *label = place(new QLabel(caption, window), name, geometry);
    label->setFont(timesBold(fontPixels));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true); // opaque: the box is painted in its background colour
    setBackground(label, background);
    return label;
}

BitmapView *makeImage(QWidget *window, const char *name, QRect geometry, const QString &resource,
    const QString &accessibleName)
{
    auto *image = place(new BitmapView(resource, window), name, geometry);
    image->setAccessibleName(accessibleName);
    return image;
}

// Qt's scroll bar ignores the arrow keys, which it leaves to a scroll area around it. Standing on
// its own in the tab order, this one takes them: left and up towards 1, right and down towards 6.
// Nor does the style show that it has the focus; this one draws a frame in the highlight colour,
// as bold as the focus of the buttons, so that it can be seen on a projector.
class ScrollBar : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QScrollBar::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            triggerAction(SliderSingleStepSub);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            triggerAction(SliderSingleStepAdd);
            break;
        default:
            QScrollBar::keyPressEvent(event);
        }
    }
};

// The title is wider than its 201 px box in this font. Widen the box up to the Start button, and
// where even that is too narrow close up the letters a little, so that it stays on one line and
// clear of the button.
void fitTitle(QLabel *title)
{
    constexpr int kRoom = 536 - 320 - 2;
    const int advance = title->fontMetrics().horizontalAdvance(title->text());
    if (advance > kRoom) {
        QFont font = title->font();
        font.setLetterSpacing(
            QFont::AbsoluteSpacing, qreal(kRoom - advance) / title->text().size());
        title->setFont(font);
    }
    title->resize(std::max(title->width(), std::min(advance + 2, kRoom)), title->height());
}

QPushButton *makeButton(QWidget *window, const char *name, QRect geometry, const QString &caption)
{
    auto *button = place(new QPushButton(caption, window), name, geometry);
    button->setFont(timesBold(k14_25pt));
    button->setAutoDefault(true); // Enter presses the focused button, as Space does
    return button;
}

} // namespace

Fotonar::Fotonar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Fotonar"));
    // The window fixes its backgrounds, so it fixes the colours drawn on them too: a dark
    // desktop theme would otherwise write white captions on the light grey and green.
    setPalette(classicPalette());
    setWindowTitle(QStringLiteral("Fotonar světla - ") + kHomepage);
    // Decoding the icon and converting it for the window manager takes a tenth of the start-up;
    // the window does not need it to appear, so it follows right after.
    QTimer::singleShot(
        0, this, [this] { setWindowIcon(QIcon(QStringLiteral(":/assets/fotonar-256.png"))); });
    setBackground(this, kBackgroundGrey);
    setAutoFillBackground(true);
    resize(kPreferredSize);
    createControls();
    setTabOrder();
    connectHandlers();
    Form_Load();
    // Start has the lowest tab index: Space or Enter right away runs with the defaults.
    m_cmdStart->setFocus(Qt::OtherFocusReason);
}

void Fotonar::showOnScreen()
{
    const QRect available = screen()->availableGeometry();
    if (kPreferredSize.width() > kMaximizeShare * available.width()
        || kPreferredSize.height() > kMaximizeShare * available.height())
        showMaximized();
    else
        show();
}

void Fotonar::createControls()
{
    // The drawing lies under every control, as a run's picture lies under the labels.
    m_surface = new SurfaceWidget(this);
    m_surface->setObjectName(QStringLiteral("surface"));
    m_surface->setGeometry(rect());
    m_surface->setForeground(kAppWorkspace);
    createParameterControls();
    createLabels();
}

void Fotonar::createParameterControls()
{
    m_frmIndex
        = place(new QGroupBox(QStringLiteral("Index lomu"), this), "frmIndex", {152, 8, 161, 33});
    m_frmIndex->setFont(timesBold(k9_75pt));
    auto *optionStyle = new OptionStyle;
    optionStyle->setParent(this);
    m_op1 = makeOption(m_frmIndex, "op1", {8, 16, 25, 13}, QStringLiteral("1"), optionStyle);
    m_op15 = makeOption(m_frmIndex, "op15", {40, 16, 41, 13}, QStringLiteral("1,5"), optionStyle);
    m_op2 = makeOption(m_frmIndex, "op2", {80, 16, 33, 13}, QStringLiteral("2"), optionStyle);
    m_op25 = makeOption(m_frmIndex, "op25", {112, 16, 41, 13}, QStringLiteral("2,5"), optionStyle);

    m_frmVzdalenost = place(
        new QGroupBox(QStringLiteral("Dál od Zdroje"), this), "frmVzdalenost", {40, 8, 97, 33});
    m_frmVzdalenost->setFont(timesBold(k9_75pt));
    m_op400
        = makeOption(m_frmVzdalenost, "op400", {8, 16, 41, 13}, QStringLiteral("400"), optionStyle);
    m_op100 = makeOption(
        m_frmVzdalenost, "op100", {48, 16, 41, 13}, QStringLiteral("100"), optionStyle);

    m_HScroll1 = place(new ScrollBar(Qt::Horizontal, this), "HScroll1", {336, 40, 145, 17});
    m_HScroll1->setRange(1, 6); // 1 at the left end, 6 at the right
    m_HScroll1->setSingleStep(1);
    m_HScroll1->setPageStep(1);
    m_HScroll1->setValue(1);
    // It is in the tab order like the other controls: the arrow keys change the slow-down.
    m_HScroll1->setFocusPolicy(Qt::StrongFocus);
    m_HScroll1->setAccessibleName(QStringLiteral("Zpomalení"));
    m_HScroll1->setAccessibleDescription(QStringLiteral("Zpomalení animace, 1 až 6"));

    m_cmdStart = makeButton(this, "cmdStart", {536, 8, 89, 25}, QStringLiteral("Start"));
    m_cmdKonec = makeButton(this, "cmdKonec", {640, 8, 73, 25}, QStringLiteral("Konec"));
}

void Fotonar::createLabels()
{
    const QString title = QStringLiteral("Fotonar paprsků světla");
    m_labFotonar
        = makeLabel(this, "labFotonar", {320, 8, 201, 25}, title, k17_25pt, kBackgroundGrey);
    fitTitle(m_labFotonar);
    m_labKliknout = makeLabel(this, "labKliknout", {256, 192, 329, 57},
        QStringLiteral("Klikněte na tlačítko Start"), k15_75pt, kBackgroundGrey);

    struct Hidden
    {
        Control control;
        QWidget *widget;
    };
    const Hidden hidden[] = {
        {Control::labZdroj,
            makeLabel(this, "labZdroj", {632, 56, 81, 17}, QStringLiteral("Zdroj světla"), k12pt,
                kLightGreen)},
        {Control::labDetektor,
            makeLabel(this, "labDetektor", {272, 72, 73, 17}, QStringLiteral("Detektor"), k12pt,
                kBackgroundGrey)},
        {Control::labCas,
            makeLabel(
                this, "labCas", {648, 32, 41, 17}, QStringLiteral("Čas"), k12pt, kLightGreen)},
        {Control::labSuma,
            makeLabel(this, "labSuma", {480, 32, 121, 17}, QStringLiteral("Cornuova spirála"),
                k12pt, kBackgroundGrey)},
        {Control::labRadiusvektory,
            makeLabel(this, "labRadiusvektory", {408, 64, 297, 17},
                QStringLiteral("Radiusvektory fotonů na optických trasách"), k12pt,
                kBackgroundGrey)},
        {Control::imaAlfy,
            makeImage(this, "imaAlfy", {376, 72, 15, 11}, QStringLiteral(":/assets/alfa.bmp"),
                QStringLiteral("úhel α"))},
        {Control::imaBeta,
            makeImage(this, "imaBeta", {504, 48, 12, 22}, QStringLiteral(":/assets/beta.bmp"),
                QStringLiteral("úhel β"))},
    };
    for (const Hidden &entry : hidden) {
        entry.widget->hide();
        m_surface->addControl(entry.control, entry.widget);
    }
    findChild<QLabel *>(QStringLiteral("labCas"))->setEnabled(false);
}

void Fotonar::setTabOrder()
{
    // The layout's tab indices, lowest first, among the controls that can take the focus.
    m_tabOrder
        = {m_cmdStart, m_op1, m_cmdKonec, m_op400, m_op100, m_op2, m_op15, m_op25, m_HScroll1};
    for (qsizetype i = 1; i < m_tabOrder.size(); ++i)
        QWidget::setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);
}

bool Fotonar::focusNextPrevChild(bool next)
{
    // Tab stops at the chosen option of each frame only, at that option's own place in the
    // order; the arrow keys move between the options of a frame.
    const auto isStop = [](const QWidget *widget) {
        const auto *option = qobject_cast<const QRadioButton *>(widget);
        return widget->isVisible() && widget->isEnabled() && (!option || option->isChecked());
    };
    const qsizetype count = m_tabOrder.size();
    const qsizetype current = m_tabOrder.indexOf(focusWidget());
    if (current < 0)
        return QWidget::focusNextPrevChild(next);
    for (qsizetype step = 1; step < count; ++step) {
        QWidget *candidate = m_tabOrder[(current + (next ? step : count - step)) % count];
        if (isStop(candidate)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

void Fotonar::connectHandlers()
{
    connect(m_op1, &QRadioButton::clicked, this, &Fotonar::op1_Click);
    connect(m_op15, &QRadioButton::clicked, this, &Fotonar::op15_Click);
    connect(m_op2, &QRadioButton::clicked, this, &Fotonar::op2_Click);
    connect(m_op25, &QRadioButton::clicked, this, &Fotonar::op25_Click);
    connect(m_op100, &QRadioButton::clicked, this, &Fotonar::op100_Click);
    connect(m_op400, &QRadioButton::clicked, this, &Fotonar::op400_Click);
    connect(m_HScroll1, &QScrollBar::valueChanged, this, &Fotonar::HScroll1_Change);
    connect(m_cmdStart, &QPushButton::clicked, this, &Fotonar::cmdStart_Click);
    connect(m_cmdKonec, &QPushButton::clicked, this, &Fotonar::cmdKonec_Click);
}

void Fotonar::Form_Load()
{
    m_op2->setChecked(true);
    m_fields.setFieldText(Field::nIndex, ParameterFields::wholeNumberText(2));
    m_op400->setChecked(true);
    m_fields.setFieldText(Field::nVzdalenost, ParameterFields::wholeNumberText(400));
    m_fields.setFieldText(Field::nSpomaleni, ParameterFields::wholeNumberText(1));
}

void Fotonar::op1_Click()
{
    m_fields.setFieldText(Field::nIndex, ParameterFields::wholeNumberText(1));
}

void Fotonar::op15_Click()
{
    m_fields.setFieldText(Field::nIndex, m_fields.decimalText(1.5));
}

void Fotonar::op2_Click()
{
    m_fields.setFieldText(Field::nIndex, ParameterFields::wholeNumberText(2));
}

void Fotonar::op25_Click()
{
    m_fields.setFieldText(Field::nIndex, m_fields.decimalText(2.5));
}

void Fotonar::op100_Click()
{
    m_fields.setFieldText(Field::nVzdalenost, ParameterFields::wholeNumberText(100));
}

void Fotonar::op400_Click()
{
    m_fields.setFieldText(Field::nVzdalenost, ParameterFields::wholeNumberText(400));
}

void Fotonar::HScroll1_Change()
{
    m_fields.setFieldText(Field::nSpomaleni, ParameterFields::wholeNumberText(m_HScroll1->value()));
}

void Fotonar::cmdStart_Click()
{
    // The run paints while it works, and painting may deliver queued non-input events; a second
    // start from among them must not begin a run inside this one.
    if (m_running)
        return;
    m_running = true;
    try {
        Run run(*m_surface, m_fields);
        run.execute();
    } catch (const std::exception &error) {
        m_running = false;
        m_surface->flush(); // what the run drew before it failed stays in view
        reportRunError(QString::fromUtf8(error.what()));
        return;
    }
    m_running = false;
    afterRun();
}

void Fotonar::cmdKonec_Click()
{
    close();
}

void Fotonar::afterRun()
{
    if (m_closeRequested) {
        close();
        return;
    }
    // Clicks made during the run are still queued; wake the event loop so that they are handled
    // now rather than at the next movement of the mouse.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

void Fotonar::reportRunError(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, windowTitle(),
        QStringLiteral("Chyba za běhu programu:\n%1\n\nProgram se ukončí.").arg(message),
        QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("runError"));
    box.setPalette(palette());
    box.exec();
    emit runFailed(message);
}

void Fotonar::closeEvent(QCloseEvent *event)
{
    // A close request in the middle of a run waits until the run has returned.
    if (m_running) {
        m_closeRequested = true;
        event->ignore();
        return;
    }
    event->accept();
}

void Fotonar::resizeEvent(QResizeEvent *event)
{
    m_surface->setGeometry(rect());
    QWidget::resizeEvent(event);
}

} // namespace fotonar
