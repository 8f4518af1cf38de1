// SPDX-License-Identifier: MIT
#include "formtimer.h"

namespace umbralux {

FormTimer::FormTimer(bool enabled, int intervalMs, QObject* parent)
    : QObject(parent), m_enabled(enabled), m_interval(intervalMs) {
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &FormTimer::Timer);
    update();
}

void FormTimer::setEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    update();
    Q_EMIT enabledChanged(enabled);
}

void FormTimer::setInterval(int intervalMs) {
    if (intervalMs < 0)
        intervalMs = 0;
    if (intervalMs == m_interval)
        return;
    m_interval = intervalMs;
    m_timer.stop();
    update();
}

void FormTimer::update() {
    const bool run = m_enabled && m_interval > 0;
    if (run && !m_timer.isActive())
        m_timer.start(m_interval);
    else if (!run)
        m_timer.stop();
}

} // namespace umbralux
