// SPDX-License-Identifier: MIT
#include "monitorpower_unix.h"

#include "platform/dbus/mutterpower.h"
#include "platform/wayland/outputpower.h"
#include "platform/x11/dpmspower.h"
#include "platform/x11/x11desktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QGuiApplication>

namespace umbralux {

std::vector<std::unique_ptr<MonitorPower>> monitorPowerWays(const QDBusConnection& session) {
    std::vector<std::unique_ptr<MonitorPower>> ways;
    if (const x11::Connection x = x11::qtConnection(); x.xcb) {
        ways.push_back(std::make_unique<DpmsMonitorPower>(x.xcb));
    } else if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        ways.push_back(
            std::make_unique<WaylandOutputPower>(QCoreApplication::applicationFilePath().toStdString()));
        ways.push_back(std::make_unique<MutterMonitorPower>(session));
    } else {
        ways.push_back(std::make_unique<NoMonitorPower>(
            QCoreApplication::translate("MonitorPower", "the display is neither X11 nor Wayland")));
    }
    return ways;
}

} // namespace umbralux
