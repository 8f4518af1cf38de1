// SPDX-License-Identifier: MIT
#include "useractivity.h"

#include "app/keepawake.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

namespace umbralux {
namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");

/// Answers after which asking again in the same keep-awake period is pointless.
bool meansCannot(const QString& errorName) {
    return errorName == QLatin1String("org.freedesktop.DBus.Error.NotSupported") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown");
}

} // namespace

UserActivity::UserActivity(QDBusConnection bus) : m_bus(std::move(bus)) {}

void UserActivity::tick(Tick step) {
    if (step != Tick::UserActivity || m_givenUp || !m_bus.isConnected())
        return;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("SimulateUserActivity"));
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), &m_watchers);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &m_watchers,
                     [this](QDBusPendingCallWatcher* pending) {
                         pending->deleteLater();
                         answered(pending->reply());
                     });
}

void UserActivity::answered(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ErrorMessage)
        return;
    if (meansCannot(reply.errorName()))
        m_givenUp = true;
    if (!m_reported) {
        m_reported = true;
        qCInfo(lcKeepAwake).noquote()
            << "SimulateUserActivity is not available:" << reply.errorName() << reply.errorMessage();
    }
}

} // namespace umbralux
