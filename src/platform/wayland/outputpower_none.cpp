// SPDX-License-Identifier: MIT
// Builds without Wayland's client: no output power to ask for.
#include "outputpower.h"

#include <QCoreApplication>
namespace umbralux {

struct WaylandOutputPower::Parts {};

WaylandOutputPower::WaylandOutputPower(std::string) {}
WaylandOutputPower::~WaylandOutputPower() = default;

QString WaylandOutputPower::powerOff() {
    return QCoreApplication::translate("MonitorPower", "Wayland: this build has no Wayland client");
}

void WaylandOutputPower::powerOn() {}

int WaylandOutputPower::guard() {
    return 0;
}

} // namespace umbralux
