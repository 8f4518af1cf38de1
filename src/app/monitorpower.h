// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>
#include <vector>

namespace umbralux {

/// Powers the monitors off and on again, as the desktop's display server does when it is idle (DPMS on
/// X11, the compositor's output power on Wayland, the monitor power command on Windows).
class MonitorPower {
  public:
    virtual ~MonitorPower() = default;
    /// Powers every monitor off. Says why not when the desktop offers no way to (empty when asked).
    virtual QString powerOff() = 0;
    /// Powers the monitors on again; harmless when they are on.
    virtual void powerOn() = 0;
};

/// The first of several ways that works: each is tried in turn until one powers the monitors off, and
/// that one powers them on again. When none works, the reasons of all of them are given together.
class FirstWorkingMonitorPower final : public MonitorPower {
  public:
    explicit FirstWorkingMonitorPower(std::vector<std::unique_ptr<MonitorPower>> ways);
    QString powerOff() override;
    void powerOn() override;

  private:
    std::vector<std::unique_ptr<MonitorPower>> m_ways;
    MonitorPower* m_used = nullptr;
};

/// Stands where a desktop offers no way at all: says why.
class NoMonitorPower final : public MonitorPower {
  public:
    explicit NoMonitorPower(QString reason) : m_reason(std::move(reason)) {}
    QString powerOff() override { return m_reason; }
    void powerOn() override {}

  private:
    QString m_reason;
};

} // namespace umbralux
