// SPDX-License-Identifier: MIT
// Keep-awake on Linux desktops. Nothing here produces an input event: the X server's idle time is reset
// directly, xscreensaver is told by message, and everything else goes through the inhibitors of the
// services and of the Wayland compositor, so the blank screen can never take keep-awake for the user's key.
#include "keepawake_unix.h"

#include "platform/dbus/cookieinhibitor.h"
#include "platform/dbus/gnomeinhibitor.h"
#include "platform/dbus/logindinhibitor.h"
#include "platform/dbus/portalinhibitor.h"
#include "platform/dbus/useractivity.h"
#include "platform/wayland/waylandidle.h"
#include "platform/x11/x11desktop.h"

#include <QStringList>
#include <vector>

namespace umbralux {

struct LinuxKeepAwake::Parts {
    Parts()
        : sandboxed(PortalInhibitor::sandboxed()), activity(QDBusConnection::sessionBus()),
          gnome(QDBusConnection::sessionBus()) {
        const QDBusConnection session = QDBusConnection::sessionBus();
        if (sandboxed) {
            inhibitors.push_back(std::make_unique<PortalInhibitor>(session));
        } else {
            auto saver = CookieInhibitor::screenSaver(session);
            screenSaver = saver.get();
            inhibitors.push_back(std::move(saver));
            inhibitors.push_back(CookieInhibitor::powerManagement(session));
        }
        inhibitors.push_back(std::make_unique<LogindInhibitor>(QDBusConnection::systemBus()));
    }

    /// Where org.freedesktop.ScreenSaver cannot hold, GNOME's session manager is asked instead.
    void holdScreenSaver() {
        if (screenSaver && screenSaver->status() == Inhibitor::Status::Fails)
            gnome.hold();
    }

    /// xscreensaver counts only the input devices and its own client's commands as activity.
    void tellXScreenSaver() {
        if (x11::deactivateXScreenSaver() && !xscreensaverLogged) {
            xscreensaverLogged = true;
            qCInfo(lcKeepAwake).noquote() << "telling xscreensaver that the user is active";
        }
    }

    std::vector<Inhibitor*> all() {
        std::vector<Inhibitor*> list;
        for (auto& inhibitor : inhibitors)
            list.push_back(inhibitor.get());
        if (screenSaver)
            list.push_back(&gnome);
        return list;
    }

    const bool sandboxed;
    WaylandIdle wayland;
    bool xscreensaverLogged = false;
    UserActivity activity;
    GnomeInhibitor gnome;
    Inhibitor* screenSaver = nullptr;
    std::vector<std::unique_ptr<Inhibitor>> inhibitors;
};

LinuxKeepAwake::LinuxKeepAwake() : m_parts(std::make_unique<Parts>()) {
    if (Inhibitor* saver = m_parts->screenSaver)
        saver->setOnStatusChanged([this] {
            if (m_held)
                m_parts->holdScreenSaver();
        });
}

LinuxKeepAwake::~LinuxKeepAwake() {
    // The services also drop the holds of a program that is gone; this just says so first.
    setHeld(false);
}

void LinuxKeepAwake::setHeld(bool held) {
    if (held == m_held)
        return;
    m_held = held;
    x11::suspendScreenSaver(held);
    m_parts->wayland.setHeld(held);
    if (held) {
        // xscreensaver's countdown may be well under way: it starts afresh now, not at the first tick.
        m_parts->tellXScreenSaver();
        m_parts->activity.restart();
        for (auto& inhibitor : m_parts->inhibitors)
            inhibitor->hold();
        m_parts->holdScreenSaver();
    } else {
        for (Inhibitor* inhibitor : m_parts->all())
            inhibitor->release();
    }
}

void LinuxKeepAwake::signalUserActivity() {
    x11::resetScreenSaver();
    m_parts->tellXScreenSaver();
    if (!m_parts->sandboxed)
        m_parts->activity.signal();
}

void LinuxKeepAwake::endUserActivity() {
    // Nothing was pressed, so nothing is to be released.
}

void LinuxKeepAwake::keepSystemAwake() {
    // The idle inhibitors held since setHeld(true) keep the system awake; there is nothing to renew.
}

QString LinuxKeepAwake::describe() const {
    QStringList used;
    QStringList tried;
    QStringList reasons;
    if (x11::canSuspendScreenSaver())
        used << QStringLiteral("the X server's screen saver control");
    else
        reasons << (x11::available() ? QStringLiteral("the X server has no screen saver control")
                                     : QStringLiteral("no X server"));
    if (x11::xscreensaverRunning())
        used << QStringLiteral("xscreensaver's deactivate command");
    switch (m_parts->wayland.status()) {
    case WaylandIdle::Status::Available:
    case WaylandIdle::Status::Holding:
        used << QStringLiteral("the compositor's idle inhibitor (%1)")
                    .arg(QLatin1String(WaylandIdle::kProtocol));
        break;
    case WaylandIdle::Status::Missing:
        reasons
            << QStringLiteral("the compositor does not offer %1").arg(QLatin1String(WaylandIdle::kProtocol));
        break;
    case WaylandIdle::Status::NotBuilt:
        reasons << QStringLiteral("built without Wayland's idle inhibitor");
        break;
    case WaylandIdle::Status::NotWayland:
        break;
    }
    bool undecided = false;
    for (Inhibitor* inhibitor : m_parts->all()) {
        switch (inhibitor->status()) {
        case Inhibitor::Status::Works:
            used << inhibitor->name();
            break;
        case Inhibitor::Status::Fails:
            reasons << inhibitor->name() + QStringLiteral(": ") + inhibitor->failure();
            break;
        case Inhibitor::Status::Untried:
        case Inhibitor::Status::Pending:
            if (inhibitor != &m_parts->gnome || m_parts->screenSaver->status() == Inhibitor::Status::Fails)
                undecided = true;
            tried << inhibitor->name();
            break;
        }
    }
    if (!used.isEmpty())
        return QStringLiteral("Keep-awake uses %1.").arg(used.join(QStringLiteral(", ")));
    if (undecided)
        return QStringLiteral("Keep-awake will use whichever of these the desktop offers: %1.")
            .arg(tried.join(QStringLiteral(", ")));
    return QStringLiteral("Keep-awake is not available on this desktop: %1.")
        .arg(reasons.join(QStringLiteral("; ")));
}

} // namespace umbralux
