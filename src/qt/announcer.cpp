#include "announcer.h"

#include <QAccessibleWidget>

namespace fotonar {

namespace {

QAccessibleInterface *notificationFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String(Announcer::staticMetaObject.className())
        || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
}

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(notificationFactory), true);
    (void)installed;
    setObjectName(QStringLiteral("announcer"));
    setGeometry(0, 0, 0, 0);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide(); // until there is something to say: an empty notification would be spoken as well
}

void Announcer::announce(const QString &message)
{
    // The screen reader speaks on the change to showing, and reads the name when it does.
    setAccessibleName(message);
    hide();
    show();
}

} // namespace fotonar
