// SPDX-License-Identifier: MIT
#pragma once

#include "app/monitorpower.h"

#include <QDBusConnection>

namespace umbralux {

/// GNOME's display configuration (org.gnome.Mutter.DisplayConfig on the session bus), whose power-save mode
/// is what GNOME itself sets when the screen blanks. GNOME wakes the monitors again at the next input.
class MutterMonitorPower final : public MonitorPower {
  public:
    /// The power-save modes the property takes.
    static constexpr int kModeOn = 0;
    static constexpr int kModeOff = 3;
    /// How long the bus may take to answer: the blank screen is up already and waits for nothing.
    static constexpr int kCallTimeoutMs = 1000;

    explicit MutterMonitorPower(QDBusConnection bus) : m_bus(std::move(bus)) {}

    QString powerOff() override;
    void powerOn() override;

  private:
    QDBusConnection m_bus;
};

} // namespace umbralux
