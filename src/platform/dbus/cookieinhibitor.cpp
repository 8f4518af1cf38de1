// SPDX-License-Identifier: MIT
#include "cookieinhibitor.h"

namespace umbralux {

std::unique_ptr<CookieInhibitor> CookieInhibitor::screenSaver(const QDBusConnection& bus) {
    return std::make_unique<CookieInhibitor>(QStringLiteral("org.freedesktop.ScreenSaver"),
                                             QStringLiteral("/org/freedesktop/ScreenSaver"),
                                             QStringLiteral("org.freedesktop.ScreenSaver"), bus);
}

std::unique_ptr<CookieInhibitor> CookieInhibitor::powerManagement(const QDBusConnection& bus) {
    return std::make_unique<CookieInhibitor>(QStringLiteral("org.freedesktop.PowerManagement"),
                                             QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"),
                                             QStringLiteral("org.freedesktop.PowerManagement.Inhibit"), bus);
}

CookieInhibitor::CookieInhibitor(QString service, QString path, QString interface, QDBusConnection bus)
    : Inhibitor(service, std::move(bus)), m_service(std::move(service)), m_path(std::move(path)),
      m_interface(std::move(interface)) {}

QDBusMessage CookieInhibitor::request() const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(m_service, m_path, m_interface, QStringLiteral("Inhibit"));
    call << QString::fromLatin1(kInhibitingApplication) << QString::fromLatin1(kInhibitReason);
    return call;
}

bool CookieInhibitor::keep(const QDBusMessage& reply) {
    const std::optional<uint> cookie = cookieOf(reply);
    m_cookie = cookie.value_or(0);
    return cookie.has_value();
}

void CookieInhibitor::giveBack() {
    QDBusMessage call =
        QDBusMessage::createMethodCall(m_service, m_path, m_interface, QStringLiteral("UnInhibit"));
    call << m_cookie;
    bus().send(call); // nothing to wait for
}

} // namespace umbralux
