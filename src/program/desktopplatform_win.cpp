// SPDX-License-Identifier: MIT
// What Windows does its own way: keep-awake's backends, the start's preparation and the session's end.
#include "desktopparts_win.h"

#include "platform/windows/rightshiftkey_win.h"
#include "platform/windows/threadexecutionstate_win.h"

#include <QCoreApplication>

namespace umbralux {

std::vector<std::unique_ptr<KeepAwakeBackend>> keepAwakeBackends() {
    std::vector<std::unique_ptr<KeepAwakeBackend>> backends;
    backends.push_back(std::make_unique<RightShiftKey>());
    backends.push_back(std::make_unique<ThreadExecutionState>());
    return backends;
}

StartPreparation::StartPreparation() = default; // the system's fonts are ready for every program

StartPreparation::~StartPreparation() = default;

void DesktopPlatform::onEndRequest(std::function<void()> endRequested) {
    // When the session ends, Windows sends WM_ENDSESSION and ends the process as soon as it is handled; Qt
    // emits aboutToQuit from inside that message, so this is the last moment to show the pointer again. The
    // signal also comes when the event loop ends on its own, after everything is given back already.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp,
                     [endRequested = std::move(endRequested)] { endRequested(); });
}

} // namespace umbralux
