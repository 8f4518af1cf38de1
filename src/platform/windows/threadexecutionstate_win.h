// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawakebackend.h"

namespace umbralux {

/// Windows power management: SetThreadExecutionState with ES_SYSTEM_REQUIRED alone at the tick's last step,
/// which resets the system's idle timer once.
class ThreadExecutionState final : public KeepAwakeBackend {
  public:
    /// Nothing is held between the ticks.
    void hold() override {}
    /// Nothing is held between the ticks.
    void release() override {}
    /// Resets the system's idle timer at the last step; the previous state it answers is of no use.
    void tick(Tick step) override;
    /// Uses Windows power management.
    void report(KeepAwakeSummary& summary) const override;
};

} // namespace umbralux
