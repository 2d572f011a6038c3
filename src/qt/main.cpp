#include "fontfamilies.h"
#include "fotonar.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>

#include <fontconfig/fontconfig.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>
#include <vector>

namespace {

// Messages Qt prints while it connects to the display. When that fails Qt aborts with a long
// explanation; the user gets one clear line and exit status 1 instead.
struct StartupMessage
{
    QtMsgType type;
    QString text;
};

std::vector<StartupMessage> startupMessages;
QtMessageHandler previousHandler = nullptr;

void startupHandler(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        startupMessages.push_back({type, text});
        return;
    }
    QString reason = text.section(QLatin1Char('\n'), 0, 0);
    for (const StartupMessage &message : startupMessages) {
        if (message.text.contains(QLatin1String("display"), Qt::CaseInsensitive)) {
            reason = message.text;
            break;
        }
    }
    (void)context;
    std::fprintf(stderr, "fotonar: cannot open a display: %s\n", qPrintable(reason));
    std::_Exit(1);
}

bool noDisplayAtAll()
{
    const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    return !platformChosen && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[])
{
    if (noDisplayAtAll()) {
        std::fprintf(
            stderr, "fotonar: cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set\n");
        return 1;
    }

    // The window's first caption waits for fontconfig to read its configuration and caches and
    // to find the installed fonts standing in for the window's; on a second core that happens
    // while Qt connects to the display.
    std::thread fontconfigWarmUp([] {
        FcInit();
        fotonar::resolveWindowFamilies();
    });
    previousHandler = qInstallMessageHandler(startupHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(previousHandler);
    fontconfigWarmUp.join();
    for (const StartupMessage &message : startupMessages)
        qt_message_output(message.type, QMessageLogContext(), message.text);
    startupMessages.clear();

    // Qt sets the C library's locale from the environment; the program's own numbers must not
    // depend on it. The parameter texts go through QLocale alone.
    std::setlocale(LC_NUMERIC, "C");

    QApplication::setApplicationName(QStringLiteral("fotonar"));
    QGuiApplication::setDesktopFileName(QStringLiteral(FOTONAR_APP_ID));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    try {
        fotonar::Fotonar window;
        QObject::connect(&window, &fotonar::Fotonar::exitRequested, &app, &QCoreApplication::exit);
        window.showOnScreen();
        return QApplication::exec();
    } catch (const std::exception &error) {
        // Where the window cannot be made, the user started the program for nothing: say why on
        // the terminal and in a box, for a start from the desktop's menu.
        const std::string text = fotonar::startupFailureText(error.what());
        std::fprintf(stderr, "%s\n", text.c_str());
        QMessageBox::critical(nullptr, QStringLiteral("Fotonar"), QString::fromStdString(text));
        return fotonar::WindowController::kStartupFailureExitStatus;
    }
}
