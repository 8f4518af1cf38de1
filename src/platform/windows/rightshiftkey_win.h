// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawakebackend.h"

namespace umbralux {

/// A right-Shift press at the tick's first step and its release at the second, fed to the system, which
/// counts them as user input. They carry the program's own tag, and an application-wide filter drops them
/// before any window sees them, so the blank screen never takes its own key for the user's.
class RightShiftKey final : public KeepAwakeBackend {
  public:
    RightShiftKey();

    /// Nothing is held between the ticks.
    void hold() override {}
    /// Nothing is held between the ticks.
    void release() override {}
    /// Presses the key at the first step and releases it at the second; fails with "Overflow" when its scan
    /// code does not fit in a byte.
    void tick(Tick step) override;
    /// Says nothing: power management speaks for keep-awake on Windows.
    void report(KeepAwakeSummary&) const override {}
};

} // namespace umbralux
