#include "fotonar.h"

#include "announcer.h"
#include "bitmapview.h"
#include "fontfamilies.h"
#include "imageaccessible.h"

#include "picturewidget.h"
#include "systemcolours.h"

#include "layout.h"

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
#include <QSignalBlocker>
#include <QTimer>
#include <QWindow>

#include <algorithm>
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

} // namespace

// The option buttons' boxes are as narrow as 25 px for "1": a small indicator with little space
// before the caption, as the layout was drawn, at the window's zoom.
class OptionStyle : public QProxyStyle
{
public:
    /// The indicator's size and the space before the caption, in logical pixels.
    void setLengths(int indicator, int spacing)
    {
        m_indicator = indicator;
        m_spacing = spacing;
    }

    int pixelMetric(
        PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return m_indicator;
        case PM_RadioButtonLabelSpacing:
            return m_spacing;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

private:
    int m_indicator = kOptionIndicator;
    int m_spacing = kOptionSpacing;
};

namespace {

QFont optionFont(int pixelSize)
{
    // Arial's metrics: fontconfig gives Liberation Sans, which comes with the Times stand-in.
    QFont font = fontOfFamily(toQString(kDefaultFamily));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(false); // not the frame's bold title font
    return font;
}

QRadioButton *makeOption(QWidget *frame, const QString &caption, QStyle *style)
{
    auto *option = new QRadioButton(caption, frame);
    option->setStyle(style);
    return option;
}

QLabel *makeLabel(QWidget *window, const QString &caption, Colour background)
{
    auto *label = new QLabel(caption, window);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true); // opaque: the box is painted in its background colour
    setBackground(label, background);
    return label;
}

} // namespace

// The style does not show that a scroll bar has the focus; this one draws a frame in the
// highlight colour, as bold as the focus of the buttons, so that it can be seen on a projector.
class FocusScrollBar : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;
    /// The frame's width in logical pixels, 2 at the design's size.
    void setFocusWidth(int width) { m_focusWidth = width; }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QScrollBar::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), m_focusWidth));
        painter.setBrush(Qt::NoBrush);
        const qreal inset = m_focusWidth / 2.0;
        painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
    }

private:
    int m_focusWidth = kFocusFrame;
};

namespace {

FocusScrollBar *makeScrollBar(QWidget *window)
{
    auto *scrollBar = new FocusScrollBar(Qt::Horizontal, window);
    scrollBar->setRange(kSlowDownMin, kSlowDownMax); // 1 at the left end, 6 at the right
    scrollBar->setSingleStep(1);
    scrollBar->setPageStep(1);
    scrollBar->setValue(kSlowDownMin);
    // It is in the tab order like the other controls: the arrow keys change the slow-down.
    scrollBar->setFocusPolicy(Qt::StrongFocus);
    scrollBar->setAccessibleDescription(QStringLiteral("Zpomalení animace, 1 až 6"));
    return scrollBar;
}

QPushButton *makeButton(QWidget *window, const QString &caption)
{
    auto *button = new QPushButton(caption, window);
    button->setAutoDefault(true); // Enter presses the focused button, as Space does
    return button;
}

void fitTitleLabel(QLabel *title, double zoom)
{
    const TitleFit fit = fitTitle(
        title->fontMetrics().horizontalAdvance(title->text()), int(title->text().size()), zoom);
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
    , m_fit(*this, WindowFit::Origin::Frame)
{
    setObjectName(QStringLiteral("Fotonar"));
    // The window fixes its backgrounds, so it fixes the colours drawn on them too: a dark
    // desktop theme would otherwise write white captions on the light grey and green.
    setPalette(classicPalette());
    setWindowTitle(QString::fromStdString(windowCaption()));
    setBackground(this, kBackgroundGrey);
    setAutoFillBackground(true);
    resize(kPreferredWidth, kPreferredHeight);
    ImageAccessible::install();
    createControls();
    m_fit.follow(width(), height(), 1);
    m_announcer = new Announcer(this);
    setTabOrder();
    connectHandlers();
    m_controller.Form_Load();
    widget(kStartFocus)->setFocus(Qt::OtherFocusReason);
}

void Fotonar::showEvent(QShowEvent *event)
{
    if (!m_exposed && windowHandle())
        windowHandle()->installEventFilter(this);
    QWidget::showEvent(event);
}

bool Fotonar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched != windowHandle())
        return keyPressed(watched, *static_cast<QKeyEvent *>(event))
            || QWidget::eventFilter(watched, event);
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
    m_picture = new PictureWidget(this);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->surface().setForeground(kAppWorkspace);
    connect(m_picture, &PictureWidget::controlMoved, this,
        [this](Control which, int left, int top) { m_fit.moveControl(which, left, top); });
    m_optionStyle = new OptionStyle;
    m_optionStyle->setParent(this);

    for (const ControlSpec &entry : windowLayout()) {
        QWidget *made = createControl(entry, entry.container ? widget(*entry.container) : this);
        made->setObjectName(toQString(entry.name));
        made->setVisible(entry.visible);
        made->setEnabled(entry.enabled);
        if (!entry.accessibleName.empty())
            made->setAccessibleName(toQString(entry.accessibleName));
        if (made->focusPolicy() != Qt::NoFocus)
            made->installEventFilter(this); // the window's keyboard comes first
        m_controls[std::size_t(entry.id)] = made;
    }
}

void Fotonar::measureCaptions()
{
    for (const ControlSpec &entry : windowLayout())
        if (entry.kind == ControlKind::Frame)
            control<QGroupBox>(entry.id)->setTitle(toQString(entry.caption));
    fitTitleLabel(control<QLabel>(ControlId::labFotonar), m_fit.fit().zoom());
}

void Fotonar::applyFonts(std::span<const ControlFont> fonts)
{
    for (const ControlFont &font : fonts)
        widget(font.control->id)
            ->setFont(font.caption ? timesBold(font.pixels) : optionFont(font.pixels));
}

void Fotonar::applyLengths(const ControlLengths &lengths)
{
    m_scrollBar->setFocusWidth(lengths.focusFrame);
    m_optionStyle->setLengths(lengths.optionIndicator, lengths.optionSpacing);
}

void Fotonar::placePicture(const Box &area, const DesignFit &fit)
{
    m_picture->setGeometry(area.left, area.top, area.width, area.height);
    m_picture->setZoom(fit.zoom());
}

void Fotonar::placeControl(const ControlSpec &control, const Box &box)
{
    widget(control.id)->setGeometry(box.left, box.top, box.width, box.height);
}

void Fotonar::fitTitle(const ControlSpec &title, const DesignFit &fit)
{
    if (m_exposed) // before, the title is fitted once the window's captions are measured
        fitTitleLabel(control<QLabel>(title.id), fit.zoom());
}

QWidget *Fotonar::createControl(const ControlSpec &entry, QWidget *parent)
{
    const QString caption = toQString(entry.caption);
    switch (entry.kind) {
    case ControlKind::Frame: {
        // The title is measured in its own font, not the desktop's, once the window is exposed.
        return new QGroupBox(parent);
    }
    case ControlKind::Option:
        return makeOption(parent, caption, m_optionStyle);
    case ControlKind::ScrollBar:
        return m_scrollBar = makeScrollBar(parent);
    case ControlKind::Button:
        return makeButton(parent, caption);
    case ControlKind::Label:
        return makeLabel(parent, caption, entry.background.value_or(kBackgroundGrey));
    case ControlKind::Image:
        return new BitmapView(QStringLiteral(":/assets/%1.bmp").arg(caption), parent);
    }
    throw std::logic_error("unknown kind of control");
}

void Fotonar::setTabOrder()
{
    // Qt's own focus chain follows the layout's tab order too, for assistive technologies; the
    // keys themselves go to the window's keyboard.
    const auto order = tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(widget(order[i - 1]->id), widget(order[i]->id));
}

bool Fotonar::keyPressed(QObject *focused, const QKeyEvent &event)
{
    static const QHash<int, Key> keys {{Qt::Key_Tab, Key::Tab}, {Qt::Key_Backtab, Key::BackTab},
        {Qt::Key_Left, Key::Left}, {Qt::Key_Right, Key::Right}, {Qt::Key_Up, Key::Up},
        {Qt::Key_Down, Key::Down}, {Qt::Key_PageUp, Key::PageUp}, {Qt::Key_PageDown, Key::PageDown},
        {Qt::Key_Home, Key::Home}, {Qt::Key_End, Key::End}, {Qt::Key_Space, Key::Space},
        {Qt::Key_Return, Key::Enter}, {Qt::Key_Enter, Key::Enter}, {Qt::Key_F11, Key::FullScreen},
        {Qt::Key_Escape, Key::Escape}};
    const auto key = keys.constFind(event.key());
    const auto chords = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    auto *const at = std::find(m_controls.begin(), m_controls.end(), focused);
    if (key == keys.constEnd() || event.modifiers().testAnyFlags(chords) || at == m_controls.end())
        return false;
    return m_controller.keyPressed(ControlId(at - m_controls.begin()), *key);
}

void Fotonar::connectHandlers()
{
    for (const ControlSpec &entry : windowLayout())
        if (auto *button = control<QAbstractButton>(entry.id)) // buttons and options
            connect(button, &QAbstractButton::clicked, this,
                [this, id = entry.id] { m_controller.click(id); });
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
        [this](int value) { m_controller.HScroll1_Change(value); });
}

void Fotonar::selectOption(const ControlSpec &option)
{
    control<QRadioButton>(option.id)->setChecked(true);
}

void Fotonar::showSlowDown(int value)
{
    const QSignalBlocker quiet(m_scrollBar);
    m_scrollBar->setValue(value);
}

void Fotonar::focus(const ControlSpec &control)
{
    widget(control.id)->setFocus(Qt::TabFocusReason);
}

Surface &Fotonar::surface()
{
    return m_picture->surface();
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

void Fotonar::describePicture(const PictureDescription &picture)
{
    // Each setter tells assistive technology of its change.
    m_picture->setAccessibleName(QString::fromStdString(picture.name));
    m_picture->setAccessibleDescription(QString::fromStdString(picture.description));
}

void Fotonar::announce(const std::string &message)
{
    m_announcer->announce(QString::fromStdString(message));
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
    // Maximized, full screen or resized, during a run too: the design follows the window.
    m_fit.follow(width(), height(), 1);
    QWidget::resizeEvent(event);
}

bool Fotonar::isFullScreen() const
{
    return QWidget::isFullScreen();
}

void Fotonar::setFullScreen(bool full)
{
    if (full) {
        m_wasMaximized = isMaximized();
        showFullScreen();
    } else if (m_wasMaximized) {
        showMaximized();
    } else {
        showNormal();
    }
}

} // namespace fotonar
