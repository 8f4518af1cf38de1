// SPDX-License-Identifier: MIT
// The idle inhibitor through Qt's own Wayland client: the protocol's global is bound on Qt's connection to
// the compositor, and each inhibitor is made for the wl_surface of a shown window.
#include "waylandidle.h"

#include "app/keepawake.h"
#include "app/keepawakesummary.h"

#include "qwayland-idle-inhibit-unstable-v1.h"
#include "shownwindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QtWaylandClient/QWaylandClientExtensionTemplate>
#include <qpa/qplatformnativeinterface.h>

namespace umbralux {
namespace {

/// The protocol version this program speaks.
constexpr int kManagerVersion = 1;

class IdleInhibitManager final : public QWaylandClientExtensionTemplate<IdleInhibitManager>,
                                 public QtWayland::zwp_idle_inhibit_manager_v1 {
  public:
    IdleInhibitManager() : QWaylandClientExtensionTemplate<IdleInhibitManager>(kManagerVersion) {
        initialize();
    }
    ~IdleInhibitManager() override {
        if (isInitialized())
            destroy();
    }
};

class IdleInhibitor final : public QtWayland::zwp_idle_inhibitor_v1 {
  public:
    explicit IdleInhibitor(struct ::zwp_idle_inhibitor_v1* object) : zwp_idle_inhibitor_v1(object) {}
    ~IdleInhibitor() override { destroy(); }
    IdleInhibitor(const IdleInhibitor&) = delete;
    IdleInhibitor& operator=(const IdleInhibitor&) = delete;
};

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

struct ::wl_surface* surfaceOf(QWindow* window) {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!native || !window)
        return nullptr;
    return static_cast<struct ::wl_surface*>(native->nativeResourceForWindow("surface", window));
}

} // namespace

struct WaylandIdle::Parts {
    Parts() : shown([this](QWindow*) { update(); }) {
        QObject::connect(&manager, &QWaylandClientExtension::activeChanged, &shown, [this] { update(); });
        if (!manager.isActive())
            qCInfo(lcKeepAwake).noquote() << "the compositor does not offer" << kProtocol;
    }

    /// Makes the inhibitor for the window in use, or drops it.
    void update() {
        inhibitor.reset();
        if (!held || !manager.isActive())
            return;
        if (struct ::wl_surface* surface = surfaceOf(shown.current())) {
            inhibitor = std::make_unique<IdleInhibitor>(manager.create_inhibitor(surface));
            qCInfo(lcKeepAwake).noquote() << "holding" << kProtocol << "on" << shown.current()->title();
        }
    }

    bool held = false;
    IdleInhibitManager manager;
    std::unique_ptr<IdleInhibitor> inhibitor;
    ShownWindow shown; // last: it calls update() as soon as it is made
};

WaylandIdle::WaylandIdle() {
    if (onWayland())
        m_parts = std::make_unique<Parts>();
}

WaylandIdle::~WaylandIdle() = default;

void WaylandIdle::setHeld(bool held) {
    if (!m_parts || held == m_parts->held)
        return;
    m_parts->held = held;
    m_parts->update();
}

WaylandIdle::Status WaylandIdle::status() const {
    if (!m_parts)
        return Status::NotWayland;
    if (!m_parts->manager.isActive())
        return Status::Missing;
    return m_parts->inhibitor ? Status::Holding : Status::Available;
}

void WaylandIdle::report(KeepAwakeSummary& summary) const {
    switch (status()) {
    case Status::Available:
    case Status::Holding:
        summary.uses(QCoreApplication::translate("KeepAwake", "the compositor's idle inhibitor (%1)")
                         .arg(QLatin1String(kProtocol)));
        break;
    case Status::Missing:
        summary.cannotUse(QCoreApplication::translate("KeepAwake", "the compositor does not offer %1")
                              .arg(QLatin1String(kProtocol)));
        break;
    case Status::NotBuilt:
    case Status::NotWayland:
        break;
    }
}

} // namespace umbralux
