#pragma once

#include "layout.h"
#include "windowcontroller.h"
#include "windowfit.h"

#include <QWidget>

#include <array>

class QKeyEvent;
class QStyle;

namespace fotonar {

class Announcer;
class FocusScrollBar;
class OptionStyle;
class PictureWidget;

/// The program's one window: the parameter choices along the top edge, Start and Konec, the
/// title and the prompt, and below them the picture that a run draws. Its widgets are the
/// layout's controls, kept by ControlId, their object names the controls' names (op15, cmdStart,
/// ...). Its behaviour is the shared WindowController's; the window forwards Qt's events to it.
class Fotonar : public QWidget, private WindowFrontEnd, private WindowFit::Widgets
{
    Q_OBJECT

public:
    /// The client area the window asks for, in logical pixels (layout.h).
    static constexpr QSize kPreferredSize {kPreferredWidth, kPreferredHeight};

    explicit Fotonar(QWidget *parent = nullptr);

    /// Shows the window at kPreferredSize, or maximized where that would nearly fill the screen.
    void showOnScreen();

    WindowController &controller() { return m_controller; }
    const WindowController &controller() const { return m_controller; }
    PictureWidget *pictureWidget() const { return m_picture; }

signals:
    /// The program is to end with `exitStatus` (not 0: after a run-time error, once the user has
    /// dismissed its message box).
    void exitRequested(int exitStatus);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void selectOption(const ControlSpec &option) override;
    void showSlowDown(int value) override;
    void focus(const ControlSpec &control) override;
    Surface &surface() override;
    void showRunError(const std::string &message) override;
    void quit(int exitStatus) override;
    bool isFullScreen() const override;
    void setFullScreen(bool full) override;
    void describePicture(const PictureDescription &picture) override;
    void announce(const std::string &message) override;

    void applyFonts(std::span<const ControlFont> fonts) override;
    void applyLengths(const ControlLengths &lengths) override;
    void placePicture(const Box &area, const DesignFit &fit) override;
    void placeControl(const ControlSpec &control, const Box &box) override;
    void fitTitle(const ControlSpec &title, const DesignFit &fit) override;

    void createControls();
    void measureCaptions();
    QWidget *createControl(const ControlSpec &entry, QWidget *parent);
    void setTabOrder();
    void connectHandlers();
    bool keyPressed(QObject *focused, const QKeyEvent &event);
    QWidget *widget(ControlId id) const { return m_controls[std::size_t(id)]; }
    /// Control `id` as the widget its kind makes; nullptr where it is not a T.
    template<typename T> T *control(ControlId id) const { return qobject_cast<T *>(widget(id)); }

    WindowController m_controller;
    WindowFit m_fit; ///< the design fitted to the window, at every resize
    bool m_wasMaximized = false; ///< before full screen
    PictureWidget *m_picture = nullptr;
    Announcer *m_announcer = nullptr;
    OptionStyle *m_optionStyle = nullptr;
    std::array<QWidget *, kControlCount> m_controls {}; ///< by ControlId
    FocusScrollBar *m_scrollBar = nullptr; ///< HScroll1
    bool m_exposed = false; ///< the window has been exposed once and its captions measured
};

} // namespace fotonar
