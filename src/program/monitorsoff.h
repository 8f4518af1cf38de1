// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>

namespace umbralux {

class MonitorPower;

/// The monitors powered off for one showing of the blank screen. They go off a moment after it is up, once
/// the keys that asked for it are let go (on X11 a key released after the monitors are off wakes them at
/// once). Any input wakes them (the display server often does so itself) without dismissing anything, and
/// they go off again after a while without input. Whatever ends the showing ends this object, which
/// powers them on again.
class MonitorsOff final : public QObject {
  public:
    /// How long after the blank screen is up the monitors go off.
    static constexpr std::chrono::milliseconds kPowerOffDelay{1000};
    /// How long after the last input that woke them they go off again.
    static constexpr std::chrono::milliseconds kPowerOffAgainAfter{10000};

    /// When the monitors go off: after the showing starts, and again after input woke them.
    struct Timing {
        std::chrono::milliseconds first;
        std::chrono::milliseconds again;
    };

    explicit MonitorsOff(MonitorPower& power) : MonitorsOff(power, {kPowerOffDelay, kPowerOffAgainAfter}) {}
    MonitorsOff(MonitorPower& power, Timing timing);
    ~MonitorsOff() override;
    MonitorsOff(const MonitorsOff&) = delete;
    MonitorsOff& operator=(const MonitorsOff&) = delete;

    /// Whether the monitors are off now, as far as this program has asked.
    bool off() const { return m_off; }
    /// Why the monitors stay on, when no way to power them off was found.
    const QString& refusal() const { return m_refusal; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void powerOff();

    MonitorPower& m_power;
    Timing m_timing;
    QTimer m_timer;
    bool m_off = false;
    QString m_refusal;
};

} // namespace umbralux
