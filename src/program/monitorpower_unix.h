// SPDX-License-Identifier: MIT
#pragma once

#include "app/monitorpower.h"

#include <memory>
#include <vector>

class QDBusConnection;

namespace umbralux {

/// The ways to power the monitors off on this display, in the order they are tried: DPMS on an X server;
/// the compositor's output power protocol (wlroots' or KDE's), then GNOME's display configuration on the
/// session bus, on Wayland.
std::vector<std::unique_ptr<MonitorPower>> monitorPowerWays(const QDBusConnection& session);

} // namespace umbralux
