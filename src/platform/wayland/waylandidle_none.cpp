// SPDX-License-Identifier: MIT
// Builds without Qt's Wayland client: nothing to hold, and the tool tip says why on Wayland.
#include "waylandidle.h"

#include "app/keepawakesummary.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace umbralux {

struct WaylandIdle::Parts {};

WaylandIdle::WaylandIdle() = default;
WaylandIdle::~WaylandIdle() = default;

void WaylandIdle::setHeld(bool) {}

WaylandIdle::Status WaylandIdle::status() const {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ? Status::NotBuilt
                                                                                : Status::NotWayland;
}

void WaylandIdle::report(KeepAwakeSummary& summary) const {
    if (status() == Status::NotBuilt)
        summary.cannotUse(QCoreApplication::translate("KeepAwake", "built without Wayland's idle inhibitor"));
}

} // namespace umbralux
