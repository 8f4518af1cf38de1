// SPDX-License-Identifier: MIT
#pragma once

#include "app/monitorpower.h"

struct xcb_connection_t;

namespace umbralux {

/// The X server's display power management (DPMS): every monitor of the server goes off at once, and
/// comes on again with any input the server sees, whether this program lives or not. A server with DPMS
/// turned off in its settings has it turned on while the monitors are off, and off again afterwards.
class DpmsMonitorPower final : public MonitorPower {
  public:
    /// Qt's connection to the X server; null where the program does not run on X11.
    explicit DpmsMonitorPower(xcb_connection_t* connection) : m_connection(connection) {}

    QString powerOff() override;
    void powerOn() override;

  private:
    xcb_connection_t* m_connection;
    /// DPMS was off in the server's settings and was turned on to power the monitors off.
    bool m_enabledHere = false;
};

} // namespace umbralux
