// SPDX-License-Identifier: MIT
#include "portalinhibitor.h"

#include <QDBusObjectPath>
#include <QFileInfo>
#include <QVariantMap>

namespace umbralux {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Inhibit");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");

} // namespace

PortalInhibitor::PortalInhibitor(QDBusConnection bus) : Inhibitor(kInterface, std::move(bus)) {}

bool PortalInhibitor::sandboxed() {
    return qEnvironmentVariableIsSet("FLATPAK_ID") || QFileInfo::exists(QStringLiteral("/.flatpak-info"));
}

QDBusMessage PortalInhibitor::request() const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Inhibit"));
    const QVariantMap options{{QStringLiteral("reason"), QString::fromLatin1(kInhibitReason)}};
    call << QString() << kIdleFlag << options;
    return call;
}

bool PortalInhibitor::keep(const QDBusMessage& reply) {
    if (reply.arguments().size() != 1)
        return false;
    m_handle = reply.arguments().constFirst().value<QDBusObjectPath>().path();
    return !m_handle.isEmpty();
}

void PortalInhibitor::giveBack() {
    bus().send(
        QDBusMessage::createMethodCall(kService, m_handle, kRequestInterface, QStringLiteral("Close")));
    m_handle.clear();
}

} // namespace umbralux
