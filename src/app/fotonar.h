#pragma once

#include "parameterfields.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

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
    /// The client area the window asks for: the picture of a run (up to x = 800, y = 545) with a
    /// margin, in logical pixels.
    static constexpr QSize kPreferredSize {820, 580};

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
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The handlers, one per event.
    void Form_Load();
    void op1_Click();
    void op15_Click();
    void op2_Click();
    void op25_Click();
    void op100_Click();
    void op400_Click();
    void HScroll1_Change();
    void cmdStart_Click();
    void cmdKonec_Click();

    void createControls();
    void createParameterControls();
    void createLabels();
    void setTabOrder();
    void connectHandlers();
    void afterRun();
    void reportRunError(const QString &message);

    ParameterFields m_fields;
    SurfaceWidget *m_surface = nullptr;
    QGroupBox *m_frmIndex = nullptr;
    QGroupBox *m_frmVzdalenost = nullptr;
    QRadioButton *m_op1 = nullptr;
    QRadioButton *m_op15 = nullptr;
    QRadioButton *m_op2 = nullptr;
    QRadioButton *m_op25 = nullptr;
    QRadioButton *m_op400 = nullptr;
    QRadioButton *m_op100 = nullptr;
    QScrollBar *m_HScroll1 = nullptr;
    QPushButton *m_cmdStart = nullptr;
    QPushButton *m_cmdKonec = nullptr;
    QLabel *m_labFotonar = nullptr;
    QLabel *m_labKliknout = nullptr;
    QList<QWidget *> m_tabOrder;
    bool m_running = false;
    bool m_closeRequested = false;
};

} // namespace fotonar
