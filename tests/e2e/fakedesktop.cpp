// SPDX-License-Identifier: MIT
// Plays the desktop's services for the end-to-end tests: org.freedesktop.ScreenSaver (or GNOME's session
// manager) on the session bus and org.freedesktop.login1 on the bus given as the system bus. It prints
// "ready" once they are there, then one line per call they receive, and "login1 released" when the holder
// closes its idle descriptor.
//
//   fakedesktop [--gnome] [--no-screensaver] [--no-login1] [--simulate=ok|notsupported|missing]
//               [--serve=ENTRY]...
//
// --serve adds a service, or a mode of one, as FakeDesktopServices names them (tests/support/
// fakedesktopservices.h): --serve=DisplayConfig, --serve="GNOME refuses late".
#include "fakedesktopservices.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using umbralux::test::FakeDesktopServices;

namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

/// The services the command line asks for, as FakeDesktopServices' entries.
QStringList entriesOf(const QStringList& arguments) {
    QStringList entries;
    if (!arguments.contains(QLatin1String("--no-screensaver"))) {
        entries << QStringLiteral("ScreenSaver");
        if (arguments.contains(QLatin1String("--simulate=notsupported")))
            entries << QStringLiteral("ScreenSaver NotSupported");
        if (arguments.contains(QLatin1String("--simulate=missing")))
            entries << QStringLiteral("ScreenSaver UnknownMethod");
    }
    if (arguments.contains(QLatin1String("--gnome")))
        entries << QStringLiteral("GNOME");
    if (!arguments.contains(QLatin1String("--no-login1")))
        entries << QStringLiteral("login1");
    for (const QString& argument : arguments)
        if (argument.startsWith(QLatin1String("--serve=")))
            entries << argument.section(QLatin1Char('='), 1);
    return entries;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const FakeDesktopServices services(entriesOf(app.arguments()), QDBusConnection::sessionBus(),
                                       QDBusConnection::systemBus(), say);
    if (!services.failure().isEmpty()) {
        std::fprintf(stderr, "fakedesktop: %s\n", qPrintable(services.failure()));
        return 1;
    }
    say(QStringLiteral("ready"));
    return app.exec();
}
