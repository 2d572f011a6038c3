// The yardstick for fotonar's start-up: the barest Qt Widgets window of the same size.

#include "fotonar.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Fotonar"));
    label.resize(fotonar::Fotonar::kPreferredSize);
    label.show();
    return QApplication::exec();
}
