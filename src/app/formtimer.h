// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>

namespace umbralux {

/// A window timer with the two properties the program drives separately: it ticks only while it is enabled
/// and its interval is above zero. Setting a different interval starts the count afresh.
class FormTimer : public QObject {
    Q_OBJECT
  public:
    FormTimer(bool enabled, int intervalMs, QObject* parent = nullptr);

    bool enabled() const { return m_enabled; }
    int interval() const { return m_interval; }
    void setEnabled(bool enabled);
    void setInterval(int intervalMs);
    /// True while the timer really runs (enabled with a positive interval).
    bool isRunning() const { return m_timer.isActive(); }

  Q_SIGNALS:
    void Timer();
    /// Emitted whenever the enabled state changes.
    void enabledChanged(bool enabled);

  private:
    void update();

    QTimer m_timer;
    bool m_enabled;
    int m_interval;
};

} // namespace umbralux
