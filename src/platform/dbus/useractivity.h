// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusConnection>
#include <QObject>

namespace umbralux {

/// Tells the session's screen saver that the user is active (org.freedesktop.ScreenSaver's
/// SimulateUserActivity), the bus's counterpart of resetting the X server's idle time. A screen saver that
/// cannot do it (GNOME answers NotSupported) is left alone until keep-awake starts again.
class UserActivity {
  public:
    explicit UserActivity(QDBusConnection bus);

    /// Sends the signal unless the service has said it cannot take it.
    void signal();
    /// A new keep-awake period: the service gets another chance.
    void restart() { m_givenUp = false; }

    /// True when the last signal was answered without an error.
    bool works() const { return m_works; }

  private:
    void answered(const QDBusMessage& reply);

    QDBusConnection m_bus;
    QObject m_watchers;
    bool m_givenUp = false;
    bool m_works = false;
    bool m_reported = false;
};

} // namespace umbralux
