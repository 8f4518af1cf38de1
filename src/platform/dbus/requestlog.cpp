// SPDX-License-Identifier: MIT
#include "requestlog.h"

#include <QChar>

namespace umbralux {

QString quotedForLog(const QString& text, qsizetype maxChars) {
    QString quoted(QLatin1Char('"'));
    qsizetype shown = 0;
    for (qsizetype i = 0; i < text.size() && shown < maxChars; ++i, ++shown) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            quoted += QLatin1Char('\\');
            quoted += c;
        } else if (c.isPrint() && c.category() != QChar::Other_Format) {
            quoted += c;
        } else {
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    quoted += QLatin1Char('"');
    if (text.size() > maxChars)
        quoted += QStringLiteral("... (%1 characters)").arg(text.size());
    return quoted;
}

bool LogThrottle::allow() {
    if (m_sinceLast.isValid() && m_sinceLast.elapsed() < m_intervalMs) {
        ++m_pending;
        return false;
    }
    m_sinceLast.start();
    m_heldBack = m_pending;
    m_pending = 0;
    return true;
}

} // namespace umbralux
