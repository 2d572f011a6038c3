#pragma once

#include "layout.h"
#include "parameterfields.h"

#include <QHash>
#include <QWidget>

class QStyle;

namespace fotonar {

class SurfaceWidget;

/// The program's one window: the parameter choices along the top edge, Start and Konec, the
/// title and the prompt, and below them the picture that a run draws. Control names follow the
/// layout ("op15", "cmdStart", ...) and are the widgets' object names.
class Fotonar : public QWidget
{
    Q_OBJECT

public:
    /// Exit status of the program after a run-time error has been reported.
    static constexpr int kRunErrorExitStatus = 2;
    /// The client area the window asks for, in logical pixels (layout.h).
    static constexpr QSize kPreferredSize {kPreferredWidth, kPreferredHeight};

    explicit Fotonar(QWidget *parent = nullptr);

    /// Shows the window at kPreferredSize, or maximized where that would nearly fill the screen.
    void showOnScreen();

    const ParameterFields &fields() const { return m_fields; }
    /// Write access for tests and diagnostics; the window writes the fields only from its handlers.
    ParameterFields &fields() { return m_fields; }
    SurfaceWidget *surface() const { return m_surface; }
    bool isRunning() const { return m_running; }

signals:
    /// A run ended in a run-time error and the user has dismissed its message box; the program
    /// is to end with kRunErrorExitStatus.
    void runFailed(const QString &message);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The handlers, one per event; each option button's click writes what the layout's shared
    // table says for it.
    void Form_Load();
    void option_Click(const QString &option);
    void HScroll1_Change();
    void cmdStart_Click();
    void cmdKonec_Click();

    void createControls();
    void measureCaptions();
    QWidget *createControl(const ControlSpec &entry, QWidget *parent);
    void setTabOrder();
    void connectHandlers();
    void afterRun();
    void reportRunError(const QString &message);
    template<typename T> T *control(const QString &name) const
    {
        return static_cast<T *>(m_controls.value(name));
    }
    template<typename T> T *control(const char *name) const
    {
        return control<T>(QLatin1String(name));
    }

    ParameterFields m_fields;
    SurfaceWidget *m_surface = nullptr;
    QStyle *m_optionStyle = nullptr;
    QHash<QString, QWidget *> m_controls; ///< by name, as the layout names them
    QList<QWidget *> m_tabOrder;
    bool m_running = false;
    bool m_closeRequested = false;
    bool m_exposed = false; ///< the window has been exposed once and its captions measured
};

} // namespace fotonar
