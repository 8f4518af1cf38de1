// SPDX-License-Identifier: MIT
#include "monitorsoff.h"

#include "app/monitorpower.h"

#include <QCoreApplication>
#include <QEvent>
#include <cstdio>

namespace umbralux {

MonitorsOff::MonitorsOff(MonitorPower& power, Timing timing) : m_power(power), m_timing(timing) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &MonitorsOff::powerOff);
    m_timer.start(m_timing.first);
    QCoreApplication::instance()->installEventFilter(this);
}

MonitorsOff::~MonitorsOff() {
    if (m_off)
        m_power.powerOn();
}

void MonitorsOff::powerOff() {
    m_refusal = m_power.powerOff();
    m_off = m_refusal.isEmpty();
    if (!m_off) {
        // Said once: nothing is tried again in this showing.
        QCoreApplication::instance()->removeEventFilter(this);
        const QString line = QCoreApplication::translate("MonitorPower", "%1: the monitors stay on: %2\n")
                                 .arg(QCoreApplication::applicationName(), m_refusal);
        std::fputs(line.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
    }
}

bool MonitorsOff::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        if (m_off) {
            m_off = false;
            m_power.powerOn();
        }
        m_timer.start(m_timing.again); // the user is there: off again once they leave it alone
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace umbralux
