// SPDX-License-Identifier: MIT
#include "monitorpower.h"

#include <QCoreApplication>
#include <QStringList>

namespace umbralux {

FirstWorkingMonitorPower::FirstWorkingMonitorPower(std::vector<std::unique_ptr<MonitorPower>> ways)
    : m_ways(std::move(ways)) {}

QString FirstWorkingMonitorPower::powerOff() {
    if (m_used)
        return m_used->powerOff();
    QStringList reasons;
    for (const auto& way : m_ways) {
        const QString reason = way->powerOff();
        if (reason.isEmpty()) {
            m_used = way.get();
            return {};
        }
        reasons << reason;
    }
    return reasons.isEmpty()
               ? QCoreApplication::translate("MonitorPower", "nothing here can power the monitors off")
               : reasons.join(QStringLiteral("; "));
}

void FirstWorkingMonitorPower::powerOn() {
    if (m_used)
        m_used->powerOn();
}

} // namespace umbralux
