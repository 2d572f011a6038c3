#include "fotonar.h"

#include "bitmapview.h"
#include "fontfamilies.h"

#include "surfacewidget.h"
#include "systemcolours.h"

#include "layout.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

#include <stdexcept>

namespace fotonar {

namespace {

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QFont timesBold(int pixelSize)
{
    QFont font = fontOfFamily(toQString(kCaptionFamily));
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

// The option buttons' boxes are as narrow as 25 px for "1": a small indicator with little space
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
            return kOptionIndicator;
        case PM_RadioButtonLabelSpacing:
            return kOptionSpacing;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

QRadioButton *makeOption(QWidget *frame, const QString &caption, QStyle *style)
{
    auto *option = new QRadioButton(caption, frame);
    // Arial's metrics: fontconfig gives Liberation Sans, which comes with the Times stand-in.
    QFont font = fontOfFamily(toQString(kDefaultFamily));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kDefaultFontPixels);
    font.setBold(false); // not the frame's bold title font
    option->setFont(font);
    option->setStyle(style);
    return option;
}

QLabel *makeLabel(QWidget *window, const QString &caption, int fontPixels, Colour background)
{
    auto *label = new QLabel(caption, window);
    label->setFont(timesBold(fontPixels));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true); // opaque: the box is painted in its background colour
    setBackground(label, background);
    return label;
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

QScrollBar *makeScrollBar(QWidget *window)
{
    auto *scrollBar = new ScrollBar(Qt::Horizontal, window);
    scrollBar->setRange(kSlowDownMin, kSlowDownMax); // 1 at the left end, 6 at the right
    scrollBar->setSingleStep(1);
    scrollBar->setPageStep(1);
    scrollBar->setValue(kSlowDownMin);
    // It is in the tab order like the other controls: the arrow keys change the slow-down.
    scrollBar->setFocusPolicy(Qt::StrongFocus);
    scrollBar->setAccessibleDescription(QStringLiteral("Zpomalení animace, 1 až 6"));
    return scrollBar;
}

QPushButton *makeButton(QWidget *window, const QString &caption, int fontPixels)
{
    auto *button = new QPushButton(caption, window);
    button->setFont(timesBold(fontPixels));
    button->setAutoDefault(true); // Enter presses the focused button, as Space does
    return button;
}

void fitTitleLabel(QLabel *title)
{
    const TitleFit fit = fitTitle(
        title->fontMetrics().horizontalAdvance(title->text()), int(title->text().size()));
    if (fit.letterSpacing != 0) {
        QFont font = title->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, fit.letterSpacing);
        title->setFont(font);
    }
    title->resize(int(std::floor(fit.width)), title->height());
}

} // namespace

Fotonar::Fotonar(QWidget *parent)
    : QWidget(parent)
    , m_controller(*this, QLocale().decimalPoint().toStdString())
{
    setObjectName(QStringLiteral("Fotonar"));
    // The window fixes its backgrounds, so it fixes the colours drawn on them too: a dark
    // desktop theme would otherwise write white captions on the light grey and green.
    setPalette(classicPalette());
    setWindowTitle(QString::fromStdString(windowCaption()));
    setBackground(this, kBackgroundGrey);
    setAutoFillBackground(true);
    resize(kPreferredWidth, kPreferredHeight);
    createControls();
    setTabOrder();
    connectHandlers();
    m_controller.Form_Load();
    // Start has the lowest tab index: Space or Enter right away runs with the defaults.
    control<QPushButton>("cmdStart")->setFocus(Qt::OtherFocusReason);
}

void Fotonar::showEvent(QShowEvent *event)
{
    if (!m_exposed && windowHandle())
        windowHandle()->installEventFilter(this);
    QWidget::showEvent(event);
}

bool Fotonar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()
        && !m_exposed) {
        m_exposed = true;
        windowHandle()->removeEventFilter(this);
        // Measuring the first caption fills Qt's font database and loads a font per size. A
        // bare window's label is measured when it is first painted, and so are these: the
        // window is mapped first, and the captions are in place before the exposure is painted.
        measureCaptions();
        // The window needs no icon to be painted: decoding it and converting it for the window
        // manager follow the first paint.
        QTimer::singleShot(
            0, this, [this] { setWindowIcon(QIcon(QStringLiteral(":/assets/fotonar-256.png"))); });
    }
    return QWidget::eventFilter(watched, event);
}

void Fotonar::showOnScreen()
{
    const QRect available = screen()->availableGeometry();
    if (opensMaximized(available.width(), available.height()))
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
    m_optionStyle = new OptionStyle;
    m_optionStyle->setParent(this);

    for (const ControlSpec &entry : windowLayout()) {
        QWidget *parent
            = entry.container.empty() ? this : m_controls.value(toQString(entry.container));
        QWidget *widget = createControl(entry, parent);
        widget->setObjectName(toQString(entry.name));
        widget->setGeometry(entry.box.left, entry.box.top, entry.box.width, entry.box.height);
        widget->setVisible(entry.visible);
        widget->setEnabled(entry.enabled);
        if (!entry.accessibleName.empty())
            widget->setAccessibleName(toQString(entry.accessibleName));
        if (entry.revealedAs)
            m_surface->addControl(*entry.revealedAs, widget);
        m_controls.insert(widget->objectName(), widget);
    }
}

void Fotonar::measureCaptions()
{
    for (const ControlSpec &entry : windowLayout())
        if (entry.kind == ControlKind::Frame)
            control<QGroupBox>(toQString(entry.name))->setTitle(toQString(entry.caption));
    fitTitleLabel(control<QLabel>("labFotonar"));
}

QWidget *Fotonar::createControl(const ControlSpec &entry, QWidget *parent)
{
    const QString caption = toQString(entry.caption);
    switch (entry.kind) {
    case ControlKind::Frame: {
        // The title is measured in its own font, not the desktop's, once the window is exposed.
        auto *frame = new QGroupBox(parent);
        frame->setFont(timesBold(entry.fontPixels));
        return frame;
    }
    case ControlKind::Option:
        return makeOption(parent, caption, m_optionStyle);
    case ControlKind::ScrollBar:
        return makeScrollBar(parent);
    case ControlKind::Button:
        return makeButton(parent, caption, entry.fontPixels);
    case ControlKind::Label:
        return makeLabel(
            parent, caption, entry.fontPixels, entry.background.value_or(kBackgroundGrey));
    case ControlKind::Image:
        return new BitmapView(QStringLiteral(":/assets/%1.bmp").arg(caption), parent);
    }
    throw std::logic_error("unknown kind of control");
}

void Fotonar::setTabOrder()
{
    // The layout's tab indices, lowest first, among the controls that can take the focus.
    for (const ControlSpec *entry : tabOrder())
        m_tabOrder.append(m_controls.value(toQString(entry->name)));
    for (qsizetype i = 1; i < m_tabOrder.size(); ++i)
        QWidget::setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);
}

bool Fotonar::focusNextPrevChild(bool next)
{
    // Tab stops at the chosen option of each frame only, at that option's own place in the
    // order; the arrow keys move between the options of a frame.
    const qsizetype current = m_tabOrder.indexOf(focusWidget());
    if (current < 0)
        return QWidget::focusNextPrevChild(next);
    const std::size_t stop
        = nextTabStop(std::size_t(current), next, [this](const ControlSpec &entry) {
              const QWidget *widget = m_controls.value(toQString(entry.name));
              const auto *option = qobject_cast<const QRadioButton *>(widget);
              return widget->isVisible() && widget->isEnabled() && (!option || option->isChecked());
          });
    m_tabOrder[qsizetype(stop)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void Fotonar::connectHandlers()
{
    for (QRadioButton *option : findChildren<QRadioButton *>()) {
        const std::string name = option->objectName().toStdString();
        connect(option, &QRadioButton::clicked, this,
            [this, name] { m_controller.option_Click(name); });
    }
    connect(control<QScrollBar>("HScroll1"), &QScrollBar::valueChanged, this,
        [this](int value) { m_controller.HScroll1_Change(value); });
    connect(control<QPushButton>("cmdStart"), &QPushButton::clicked, this, [this] {
        m_controller.cmdStart_Click();
        afterRun();
    });
    connect(control<QPushButton>("cmdKonec"), &QPushButton::clicked, this,
        [this] { m_controller.cmdKonec_Click(); });
}

void Fotonar::afterRun()
{
    // Clicks made during the run are still queued; wake the event loop so that they are handled
    // now rather than at the next movement of the mouse.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

void Fotonar::selectOption(const ControlSpec &option)
{
    control<QRadioButton>(toQString(option.name))->setChecked(true);
}

Surface &Fotonar::surface()
{
    return *m_surface;
}

void Fotonar::showRunError(const std::string &message)
{
    QMessageBox box(QMessageBox::Critical, windowTitle(), QString::fromStdString(message),
        QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("runError"));
    box.setPalette(palette());
    box.exec();
}

void Fotonar::quit(int exitStatus)
{
    if (exitStatus != 0) {
        emit exitRequested(exitStatus);
        return;
    }
    close();
}

void Fotonar::closeEvent(QCloseEvent *event)
{
    // A close request in the middle of a run waits until the run has returned.
    if (m_controller.Form_QueryUnload())
        event->accept();
    else
        event->ignore();
}

void Fotonar::resizeEvent(QResizeEvent *event)
{
    m_surface->setGeometry(rect());
    QWidget::resizeEvent(event);
}

} // namespace fotonar
