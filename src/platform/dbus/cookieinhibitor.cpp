// SPDX-License-Identifier: MIT
#include "cookieinhibitor.h"

namespace umbralux {
namespace {

/// What the freedesktop.org services ask for: who holds, and why.
QVariantList applicationAndReason() {
    return {QString::fromLatin1(kInhibitingApplication), QString::fromLatin1(kInhibitReason)};
}

/// GNOME's session manager: no window to name, since the hold belongs to the program and not to one of its
/// windows.
constexpr uint kNoWindow = 0;
/// The session manager's flag for "the session must not become idle".
constexpr uint kGnomeIdleFlag = 8;

} // namespace

std::unique_ptr<CookieInhibitor> CookieInhibitor::screenSaver(const QDBusConnection& bus) {
    return std::make_unique<CookieInhibitor>(QStringLiteral("org.freedesktop.ScreenSaver"),
                                             QStringLiteral("/org/freedesktop/ScreenSaver"),
                                             QStringLiteral("org.freedesktop.ScreenSaver"),
                                             applicationAndReason(), QStringLiteral("UnInhibit"), bus);
}

std::unique_ptr<CookieInhibitor> CookieInhibitor::powerManagement(const QDBusConnection& bus) {
    return std::make_unique<CookieInhibitor>(QStringLiteral("org.freedesktop.PowerManagement"),
                                             QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"),
                                             QStringLiteral("org.freedesktop.PowerManagement.Inhibit"),
                                             applicationAndReason(), QStringLiteral("UnInhibit"), bus);
}

std::unique_ptr<CookieInhibitor> CookieInhibitor::gnomeSession(const QDBusConnection& bus) {
    const QString service = QStringLiteral("org.gnome.SessionManager");
    return std::make_unique<CookieInhibitor>(service, QStringLiteral("/org/gnome/SessionManager"), service,
                                             QVariantList{QString::fromLatin1(kInhibitingApplication),
                                                          kNoWindow, QString::fromLatin1(kInhibitReason),
                                                          kGnomeIdleFlag},
                                             QStringLiteral("Uninhibit"), bus);
}

CookieInhibitor::CookieInhibitor(QString service, QString path, QString interface,
                                 QVariantList inhibitArguments, QString giveBackMethod, QDBusConnection bus)
    : Inhibitor(service, std::move(bus)), m_service(std::move(service)), m_path(std::move(path)),
      m_interface(std::move(interface)), m_inhibitArguments(std::move(inhibitArguments)),
      m_giveBackMethod(std::move(giveBackMethod)) {}

QDBusMessage CookieInhibitor::request() const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(m_service, m_path, m_interface, QStringLiteral("Inhibit"));
    call.setArguments(m_inhibitArguments);
    return call;
}

bool CookieInhibitor::keep(const QDBusMessage& reply) {
    const std::optional<uint> cookie = cookieOf(reply);
    m_cookie = cookie.value_or(0);
    return cookie.has_value();
}

void CookieInhibitor::giveBack() {
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, m_path, m_interface, m_giveBackMethod);
    call << m_cookie;
    bus().send(call); // nothing to wait for
}

} // namespace umbralux
