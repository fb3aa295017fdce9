#include "platform/logind_watcher.h"

#include <QDBusConnection>

namespace lensora {

LogindWatcher::LogindWatcher(QObject* parent) : QObject(parent) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return;
    }
    listening_ = bus.connect(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(OnPrepareForSleep(bool)));
}

void LogindWatcher::OnPrepareForSleep(bool sleeping) {
    if (!sleeping) {
        emit resumed();
    }
}

}  // namespace lensora
