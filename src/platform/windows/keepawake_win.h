// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawake.h"

namespace umbralux {

/// Keep-awake on Windows: a right-Shift press and release fed to the system, tagged so that the program
/// filters them out before any window sees them, and a power-management call.
class WindowsKeepAwake final : public KeepAwake {
  public:
    WindowsKeepAwake();

    void setHeld(bool held) override;
    void signalUserActivity() override;
    void endUserActivity() override;
    void keepSystemAwake() override;
    QString describe() const override;
};

} // namespace umbralux
