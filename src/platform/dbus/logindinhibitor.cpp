// SPDX-License-Identifier: MIT
#include "logindinhibitor.h"

namespace umbralux {
namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kInterface = QStringLiteral("org.freedesktop.login1.Manager");

} // namespace

LogindInhibitor::LogindInhibitor(QDBusConnection bus) : Inhibitor(kService, std::move(bus)) {}

QDBusMessage LogindInhibitor::request() const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Inhibit"));
    call << QStringLiteral("idle") << QString::fromLatin1(kInhibitingApplication)
         << QString::fromLatin1(kInhibitReason) << QStringLiteral("block");
    return call;
}

bool LogindInhibitor::keep(const QDBusMessage& reply) {
    if (reply.arguments().size() != 1)
        return false;
    m_descriptor = reply.arguments().constFirst().value<QDBusUnixFileDescriptor>();
    return m_descriptor.isValid();
}

void LogindInhibitor::giveBack() {
    // Closing our copy of the descriptor ends the hold.
    m_descriptor = QDBusUnixFileDescriptor();
}

} // namespace umbralux
