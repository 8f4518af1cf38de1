// SPDX-License-Identifier: MIT
#include "run.h"

#include "app/platform.h"
#include "app/startrequest.h"
#include "blank/mousepointer.h"
#include "program/application.h"
#include "program/commandline.h"
#include "program/desktopplatform.h"
#include "program/program.h"

#include <QLatin1String>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include "platform/wayland/outputpower.h"
#endif

namespace umbralux {
namespace {

/// Makes every connection to the session bus fail at once, Qt's own (accessibility, the platform theme)
/// included, instead of waiting for a bus that has stopped answering: the address is one that no client
/// can connect to.
void withoutSessionBus() {
    qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArrayLiteral("disabled:"));
}

} // namespace

int run(int argc, char** argv, const Launch& launch) {
#ifdef Q_OS_UNIX
    if (argc == 2 && qstrcmp(argv[1], WaylandOutputPower::kGuardOption) == 0)
        return WaylandOutputPower::guard(); // started by the program itself, never by a user
#endif
    const CommandLine commandLine = answerCommandLine(argc, argv);
    if (commandLine.exitStatus)
        return *commandLine.exitStatus;
    if (!launch.sessionBusAnswers)
        withoutSessionBus();
    StartPreparation preparation;
    Application app(argc, argv);
    int status = 0;
    const QString unknownMonitors = Program::unknownMonitors(commandLine.show.monitors);
    if (commandLine.listMonitors) {
        std::fputs(Program::monitorList().toLocal8Bit().constData(), stdout);
    } else if (!unknownMonitors.isEmpty()) {
        std::fputs(unknownMonitors.toLocal8Bit().constData(), stderr);
        status = kUsageErrorStatus; // before anything is covered
    } else {
        DesktopPlatform platform;
        Program program(platform.services(), QCoreApplication::applicationDirPath());
        const bool instance =
            launch.instanceSilent ||
            platform.singleInstance().claim(
                commandLine.request, [&program](StartRequest request) { return program.request(request); });
        platform.singleInstance().serveCommands(
            [&program](const QStringList& arguments) { return program.runCommand(arguments); });
        if (instance) {
            app.setBeforeEscapedFailureExit([&program] { program.restoreBeforeFailureExit(); });
            platform.onEndRequest([&program] { program.end(); });
            program.start(commandLine.request, commandLine.show);
            status = app.exec();
            app.setBeforeEscapedFailureExit({});
        } // otherwise the running instance took the request
    }
    // Everything of ours is given back by now: the windows, the pointer, every keep-awake inhibitor. Qt 6.4's
    // Wayland client can deadlock while it disconnects from the compositor (its event thread waits in
    // wl_display_read_events for a reader that is gone), which would leave the program running after the
    // user closed it; on Wayland the process therefore ends here, without that teardown.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

} // namespace umbralux
