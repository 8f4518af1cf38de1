// SPDX-License-Identifier: MIT
#pragma once

#include "inhibitor.h"

namespace umbralux {

/// GNOME's session manager: Inhibit(application, window, reason, flags) with the "idle" flag, which keeps
/// the session from being marked idle (no screen saver, no idle suspend). GNOME has no
/// org.freedesktop.ScreenSaver inhibitor, so this stands in for it there.
class GnomeInhibitor final : public Inhibitor {
  public:
    /// The session manager's flag for "the session must not become idle".
    static constexpr uint kIdleFlag = 8;

    explicit GnomeInhibitor(QDBusConnection bus);

  protected:
    QDBusMessage request() const override;
    bool keep(const QDBusMessage& reply) override;
    void giveBack() override;

  private:
    uint m_cookie = 0;
};

} // namespace umbralux
