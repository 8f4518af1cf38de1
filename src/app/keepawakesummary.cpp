// SPDX-License-Identifier: MIT
#include "keepawakesummary.h"

#include <QCoreApplication>

namespace umbralux {

void KeepAwakeSummary::uses(const QString& means) {
    m_used << means;
}

void KeepAwakeSummary::mayUse(const QString& means) {
    m_undecided << means;
}

void KeepAwakeSummary::cannotUse(const QString& reason) {
    m_reasons << reason;
}

QString KeepAwakeSummary::text() const {
    if (!m_used.isEmpty())
        return QCoreApplication::translate("KeepAwake", "Keep-awake uses %1.")
            .arg(m_used.join(QStringLiteral(", ")));
    if (!m_undecided.isEmpty())
        return QCoreApplication::translate("KeepAwake",
                                           "Keep-awake will use whichever of these the desktop offers: %1.")
            .arg(m_undecided.join(QStringLiteral(", ")));
    if (m_reasons.isEmpty())
        return QCoreApplication::translate("KeepAwake", "Keep-awake is not available on this desktop.");
    return QCoreApplication::translate("KeepAwake", "Keep-awake is not available on this desktop: %1.")
        .arg(m_reasons.join(QStringLiteral("; ")));
}

} // namespace umbralux
