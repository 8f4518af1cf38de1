// SPDX-License-Identifier: MIT
#include "keepawake_unix.h"

#include "platform/dbus/cookieinhibitor.h"
#include "platform/dbus/fallbackinhibitor.h"
#include "platform/dbus/logindinhibitor.h"
#include "platform/dbus/portalinhibitor.h"
#include "platform/dbus/useractivity.h"
#include "platform/wayland/waylandidle.h"
#include "platform/x11/serverscreensaver.h"
#include "platform/x11/x11desktop.h"
#include "platform/x11/xscreensaverdeactivate.h"
#include "unavailablebackend.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QGuiApplication>

namespace umbralux {

std::vector<std::unique_ptr<KeepAwakeBackend>> keepAwakeBackends(const QDBusConnection& session,
                                                                 const QDBusConnection& system) {
    std::vector<std::unique_ptr<KeepAwakeBackend>> backends;
    const x11::Connection x = x11::qtConnection();
    if (x.display) {
        backends.push_back(std::make_unique<ServerScreenSaver>(x.display));
        backends.push_back(std::make_unique<XScreenSaverDeactivate>(x.xcb));
    } else if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        backends.push_back(std::make_unique<WaylandIdle>());
    } else {
        // Offscreen, a frame buffer, a remote display: nothing there keeps the screen on.
        backends.push_back(
            std::make_unique<UnavailableBackend>(QCoreApplication::translate("KeepAwake", "no X server")));
    }
    if (PortalInhibitor::sandboxed()) {
        // Inside a sandbox only the portal is reachable on the session bus.
        backends.push_back(std::make_unique<PortalInhibitor>(session));
    } else {
        // GNOME has no org.freedesktop.ScreenSaver inhibitor; its session manager stands in for it.
        backends.push_back(std::make_unique<FallbackInhibitor>(CookieInhibitor::screenSaver(session),
                                                               CookieInhibitor::gnomeSession(session)));
        backends.push_back(CookieInhibitor::powerManagement(session));
        backends.push_back(std::make_unique<UserActivity>(session));
    }
    backends.push_back(std::make_unique<LogindInhibitor>(system));
    return backends;
}

} // namespace umbralux
