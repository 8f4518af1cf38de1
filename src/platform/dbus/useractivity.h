// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawakebackend.h"

#include <QDBusConnection>
#include <QObject>

namespace umbralux {

/// Tells the session's screen saver that the user is active (org.freedesktop.ScreenSaver's
/// SimulateUserActivity) at the first step of every tick, the bus's counterpart of resetting the X server's
/// idle time. A screen saver that cannot do it (GNOME answers NotSupported) is left alone until keep-awake
/// starts again.
class UserActivity final : public KeepAwakeBackend {
  public:
    explicit UserActivity(QDBusConnection bus);

    /// A new keep-awake period: the service gets another chance.
    void hold() override { m_givenUp = false; }
    /// Nothing is held.
    void release() override {}
    /// Sends the signal at the tick's first step, unless the service has said it cannot take it.
    void tick(Tick step) override;
    /// Says nothing: the screen saver's inhibitor speaks for the service.
    void report(KeepAwakeSummary&) const override {}

  private:
    void answered(const QDBusMessage& reply);

    QDBusConnection m_bus;
    QObject m_watchers;
    bool m_givenUp = false;
    bool m_reported = false; // a failure was logged: once per run is enough
};

} // namespace umbralux
