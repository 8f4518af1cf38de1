// SPDX-License-Identifier: MIT
// Builds without Wayland's client: no output power to ask for.
#include "outputpower.h"

namespace umbralux {

struct WaylandOutputPower::Parts {};

WaylandOutputPower::WaylandOutputPower(std::string) {}
WaylandOutputPower::~WaylandOutputPower() = default;

QString WaylandOutputPower::powerOff() {
    return QStringLiteral("Wayland: this build has no Wayland client");
}

void WaylandOutputPower::powerOn() {}

int WaylandOutputPower::guard() {
    return 0;
}

} // namespace umbralux
