// SPDX-License-Identifier: MIT
#pragma once

#include "app/monitorpower.h"

#include <memory>
#include <string>

namespace umbralux {

/// The compositor's output power on Wayland: wlroots' output power management (sway and the other wlroots
/// compositors) or KDE's DPMS protocol (KWin), on a connection of its own beside Qt's.
///
/// KWin wakes its outputs at the next input by itself. A wlroots compositor leaves them off until a client
/// asks otherwise, so that a program killed while they are off would leave the user in the dark: while they
/// are off, a small guard process of this program waits for it to end, however it ends, and then powers
/// every output on.
class WaylandOutputPower final : public MonitorPower {
  public:
    /// The hidden option that makes the program the guard: it waits for its standard input to end, then
    /// powers every output on.
    static constexpr char kGuardOption[] = "--power-outputs-on-after-input-ends";

    /// `guardProgram` is the program file started as the guard (this program's own); none when empty.
    explicit WaylandOutputPower(std::string guardProgram);
    ~WaylandOutputPower() override;
    WaylandOutputPower(const WaylandOutputPower&) = delete;
    WaylandOutputPower& operator=(const WaylandOutputPower&) = delete;

    QString powerOff() override;
    void powerOn() override;

    /// The guard's whole work; its exit status.
    static int guard();

  private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace umbralux
