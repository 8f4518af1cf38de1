// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawakebackend.h"

struct xcb_connection_t;

namespace umbralux {

/// xscreensaver, which counts only the input devices and its own client's commands as activity: it is sent
/// the deactivate command when keep-awake starts (its countdown may be well under way) and at the tick's
/// first step.
class XScreenSaverDeactivate final : public KeepAwakeBackend {
  public:
    /// `connection` is the program's connection to the X server.
    explicit XScreenSaverDeactivate(xcb_connection_t* connection);

    /// Restarts xscreensaver's countdown now rather than at the first tick.
    void hold() override;
    /// Nothing is held.
    void release() override {}
    /// Restarts the countdown at the tick's first step.
    void tick(Tick step) override;
    /// Uses the command while an xscreensaver daemon runs; says nothing otherwise.
    void report(KeepAwakeSummary& summary) const override;

  private:
    void tell();

    xcb_connection_t* m_connection;
    bool m_logged = false; // said once that xscreensaver is told
};

} // namespace umbralux
