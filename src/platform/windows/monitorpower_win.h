// SPDX-License-Identifier: MIT
#pragma once

#include "app/monitorpower.h"

struct HWND__;

namespace umbralux {

/// The monitor power system command, as Windows gives it when the display has been idle: WM_SYSCOMMAND with
/// SC_MONITORPOWER, carried out by the default window procedure of a hidden window of the program's own (a
/// broadcast would go through every other program's windows too). Windows 8 and later no longer power the
/// monitors on for the command's "on" alone, so a mouse move of no distance, which the system counts as
/// input, follows it.
class SystemCommandMonitorPower final : public MonitorPower {
  public:
    SystemCommandMonitorPower() = default;
    ~SystemCommandMonitorPower() override;
    SystemCommandMonitorPower(const SystemCommandMonitorPower&) = delete;
    SystemCommandMonitorPower& operator=(const SystemCommandMonitorPower&) = delete;

    /// Call on the GUI thread: the window is made there at the first call.
    QString powerOff() override;
    void powerOn() override;

  private:
    HWND__* m_window = nullptr;
};

} // namespace umbralux
