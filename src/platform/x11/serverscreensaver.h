// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawakebackend.h"
#include "x11desktop.h"

namespace umbralux {

/// The X server's own screen saver (MIT-SCREEN-SAVER): suspended while held, so neither it nor display
/// power saving starts, and its idle time reset at the tick's first step, as input would without being any.
class ServerScreenSaver final : public KeepAwakeBackend {
  public:
    /// `display` is the program's connection to the X server.
    explicit ServerScreenSaver(_XDisplay* display);

    /// Suspends the screen saver.
    void hold() override;
    /// Lets the screen saver run again.
    void release() override;
    /// Resets the server's idle time at the tick's first step.
    void tick(Tick step) override;
    /// Uses the screen saver control where the server has it.
    void report(KeepAwakeSummary& summary) const override;

  private:
    _XDisplay* m_display;
};

} // namespace umbralux
