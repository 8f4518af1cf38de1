// SPDX-License-Identifier: MIT
#pragma once

#include "inhibitor.h"

#include <QDBusUnixFileDescriptor>

namespace umbralux {

/// systemd-logind's idle inhibitor on the system bus: Inhibit("idle", who, why, "block") hands out a file
/// descriptor, and the hold lasts until that descriptor is closed. "idle" and not "sleep": the computer
/// must not suspend by itself, but the user's own suspend must still work.
class LogindInhibitor final : public Inhibitor {
  public:
    explicit LogindInhibitor(QDBusConnection bus);

  protected:
    QDBusMessage request() const override;
    bool keep(const QDBusMessage& reply) override;
    void giveBack() override;

  private:
    QDBusUnixFileDescriptor m_descriptor;
};

} // namespace umbralux
