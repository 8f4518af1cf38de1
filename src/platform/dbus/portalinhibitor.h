// SPDX-License-Identifier: MIT
#pragma once

#include "inhibitor.h"

namespace umbralux {

/// The desktop portal's inhibitor, the one way a sandboxed program (Flatpak) may hold off idleness:
/// Inhibit(window, flags, options) with the "idle" flag answers with a request object, and closing that
/// request ends the hold.
class PortalInhibitor final : public Inhibitor {
  public:
    /// The portal's flag for "the session must not become idle".
    static constexpr uint kIdleFlag = 8;

    explicit PortalInhibitor(QDBusConnection bus);

    /// True when the program runs inside a Flatpak sandbox, where only the portal is reachable.
    static bool sandboxed();

  protected:
    QDBusMessage request() const override;
    bool keep(const QDBusMessage& reply) override;
    void giveBack() override;

  private:
    QString m_handle;
};

} // namespace umbralux
