// SPDX-License-Identifier: MIT
#include "gnomeinhibitor.h"

namespace umbralux {
namespace {

const QString kService = QStringLiteral("org.gnome.SessionManager");
const QString kPath = QStringLiteral("/org/gnome/SessionManager");

/// No window to name: the hold belongs to the program, not to one of its windows.
constexpr uint kNoWindow = 0;

} // namespace

GnomeInhibitor::GnomeInhibitor(QDBusConnection bus) : Inhibitor(kService, std::move(bus)) {}

QDBusMessage GnomeInhibitor::request() const {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Inhibit"));
    call << QString::fromLatin1(kInhibitingApplication) << kNoWindow << QString::fromLatin1(kInhibitReason)
         << kIdleFlag;
    return call;
}

bool GnomeInhibitor::keep(const QDBusMessage& reply) {
    const std::optional<uint> cookie = cookieOf(reply);
    m_cookie = cookie.value_or(0);
    return cookie.has_value();
}

void GnomeInhibitor::giveBack() {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Uninhibit"));
    call << m_cookie;
    bus().send(call);
}

} // namespace umbralux
