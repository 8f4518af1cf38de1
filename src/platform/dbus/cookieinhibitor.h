// SPDX-License-Identifier: MIT
#pragma once

#include "inhibitor.h"

#include <QVariantList>
#include <memory>

namespace umbralux {

/// An inhibitor that hands out a cookie: Inhibit(...) gives a number that the service's give-back call takes
/// back. The freedesktop.org services, org.freedesktop.ScreenSaver (KDE, Cinnamon, MATE, Xfce, LXQt) and
/// org.freedesktop.PowerManagement.Inhibit (KDE's idle suspend), ask for the application and a reason and
/// take the cookie back with UnInhibit; GNOME's session manager asks for more and spells it Uninhibit.
class CookieInhibitor final : public Inhibitor {
  public:
    /// The screen saver's inhibitor on the session bus.
    static std::unique_ptr<CookieInhibitor> screenSaver(const QDBusConnection& bus);
    /// The power manager's inhibitor on the session bus.
    static std::unique_ptr<CookieInhibitor> powerManagement(const QDBusConnection& bus);
    /// GNOME's session manager on the session bus, with the flag that keeps the session from being marked
    /// idle (no screen saver, no idle suspend). GNOME has no org.freedesktop.ScreenSaver inhibitor, so this
    /// stands in for it there.
    static std::unique_ptr<CookieInhibitor> gnomeSession(const QDBusConnection& bus);

    /// The service at `path` with `interface`: Inhibit is called with `inhibitArguments`, and the cookie
    /// given back with the method `giveBackMethod`.
    CookieInhibitor(QString service, QString path, QString interface, QVariantList inhibitArguments,
                    QString giveBackMethod, QDBusConnection bus);

  protected:
    QDBusMessage request() const override;
    bool keep(const QDBusMessage& reply) override;
    void giveBack() override;

  private:
    QString m_service;
    QString m_path;
    QString m_interface;
    QVariantList m_inhibitArguments;
    QString m_giveBackMethod;
    uint m_cookie = 0;
};

} // namespace umbralux
