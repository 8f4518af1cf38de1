// SPDX-License-Identifier: MIT
#include "xscreensaverdeactivate.h"

#include "app/keepawake.h"
#include "app/keepawakesummary.h"
#include "x11desktop.h"

#include <QCoreApplication>

namespace umbralux {

XScreenSaverDeactivate::XScreenSaverDeactivate(xcb_connection_t* connection) : m_connection(connection) {}

void XScreenSaverDeactivate::hold() {
    tell();
}

void XScreenSaverDeactivate::tick(Tick step) {
    if (step == Tick::UserActivity)
        tell();
}

void XScreenSaverDeactivate::report(KeepAwakeSummary& summary) const {
    if (x11::xscreensaverRunning(m_connection))
        summary.uses(QCoreApplication::translate("KeepAwake", "xscreensaver's deactivate command"));
}

void XScreenSaverDeactivate::tell() {
    if (x11::deactivateXScreenSaver(m_connection) && !m_logged) {
        m_logged = true;
        qCInfo(lcKeepAwake).noquote() << "telling xscreensaver that the user is active";
    }
}

} // namespace umbralux
