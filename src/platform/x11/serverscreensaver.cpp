// SPDX-License-Identifier: MIT
#include "serverscreensaver.h"

#include "app/keepawakesummary.h"
#include "x11desktop.h"

#include <QCoreApplication>

namespace umbralux {

ServerScreenSaver::ServerScreenSaver(_XDisplay* display) : m_display(display) {}

void ServerScreenSaver::hold() {
    x11::suspendScreenSaver(m_display, true);
}

void ServerScreenSaver::release() {
    x11::suspendScreenSaver(m_display, false);
}

void ServerScreenSaver::tick(Tick step) {
    if (step == Tick::UserActivity)
        x11::resetScreenSaver(m_display);
}

void ServerScreenSaver::report(KeepAwakeSummary& summary) const {
    if (x11::canSuspendScreenSaver(m_display))
        summary.uses(QCoreApplication::translate("KeepAwake", "the X server's screen saver control"));
    else if (m_display)
        summary.cannotUse(
            QCoreApplication::translate("KeepAwake", "the X server has no screen saver control"));
    else
        summary.cannotUse(QCoreApplication::translate("KeepAwake", "no X server"));
}

} // namespace umbralux
