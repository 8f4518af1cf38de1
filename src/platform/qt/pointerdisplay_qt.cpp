// SPDX-License-Identifier: MIT
#include "pointerdisplay_qt.h"

#include <QCursor>
#include <QGuiApplication>

namespace umbralux {

OverrideCursorPointerDisplay::~OverrideCursorPointerDisplay() {
    if (m_blanked)
        QGuiApplication::restoreOverrideCursor();
}

int OverrideCursorPointerDisplay::ShowCursor(bool show) {
    m_count += show ? 1 : -1;
    const bool hide = m_count < 0;
    if (hide && !m_blanked)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    else if (!hide && m_blanked)
        QGuiApplication::restoreOverrideCursor();
    m_blanked = hide;
    return m_count;
}

} // namespace umbralux
