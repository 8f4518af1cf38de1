// SPDX-License-Identifier: MIT
#include "mutterpower.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

namespace umbralux {
namespace {

const QString kService = QStringLiteral("org.gnome.Mutter.DisplayConfig");
const QString kPath = QStringLiteral("/org/gnome/Mutter/DisplayConfig");
const QString kProperty = QStringLiteral("PowerSaveMode");

QDBusMessage setMode(int mode) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    call << kService << kProperty << QVariant::fromValue(QDBusVariant(mode));
    return call;
}

} // namespace

QString MutterMonitorPower::powerOff() {
    if (!m_bus.isConnected())
        return QCoreApplication::translate("MonitorPower", "GNOME: no session bus");
    if (!m_bus.interface()->isServiceRegistered(kService))
        return QCoreApplication::translate("MonitorPower",
                                           "GNOME: its display configuration is not on the session bus");
    const QDBusMessage reply = m_bus.call(setMode(kModeOff), QDBus::Block, kCallTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return QCoreApplication::translate("MonitorPower", "GNOME: %1").arg(reply.errorMessage());
    return {};
}

void MutterMonitorPower::powerOn() {
    m_bus.call(setMode(kModeOn), QDBus::Block, kCallTimeoutMs);
}

} // namespace umbralux
