// SPDX-License-Identifier: MIT
#pragma once

#include "inhibitor.h"

#include <memory>

namespace umbralux {

/// The freedesktop.org kind of inhibitor: Inhibit(application, reason) gives a cookie that UnInhibit(cookie)
/// gives back. org.freedesktop.ScreenSaver (KDE, Cinnamon, MATE, Xfce, LXQt) and
/// org.freedesktop.PowerManagement.Inhibit (KDE's idle suspend) both work this way.
class CookieInhibitor final : public Inhibitor {
  public:
    /// The screen saver's inhibitor on the session bus.
    static std::unique_ptr<CookieInhibitor> screenSaver(const QDBusConnection& bus);
    /// The power manager's inhibitor on the session bus.
    static std::unique_ptr<CookieInhibitor> powerManagement(const QDBusConnection& bus);

    CookieInhibitor(QString service, QString path, QString interface, QDBusConnection bus);

  protected:
    QDBusMessage request() const override;
    bool keep(const QDBusMessage& reply) override;
    void giveBack() override;

  private:
    QString m_service;
    QString m_path;
    QString m_interface;
    uint m_cookie = 0;
};

} // namespace umbralux
