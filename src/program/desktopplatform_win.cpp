// SPDX-License-Identifier: MIT
// The services of Windows.
#include "desktopplatform.h"

#include "app/backendkeepawake.h"
#include "app/platform.h"
#include "config.h"
#include "platform/qt/colourpicker_qt.h"
#include "platform/qt/dialogs_qt.h"
#include "platform/qt/programend_qt.h"
#include "platform/qt/randomsource_qt.h"
#include "platform/windows/monitorpower_win.h"
#include "platform/windows/pageopener_win.h"
#include "platform/windows/pointerdisplay_win.h"
#include "platform/windows/rightshiftkey_win.h"
#include "platform/windows/settingsstore_win.h"
#include "platform/windows/singleinstance_win.h"
#include "platform/windows/threadexecutionstate_win.h"
#include "platform/windows/windowhints_win.h"

#include <QCoreApplication>

namespace umbralux {
namespace {

/// The right-Shift press and release, then the power-management call.
std::vector<std::unique_ptr<KeepAwakeBackend>> keepAwakeBackends() {
    std::vector<std::unique_ptr<KeepAwakeBackend>> backends;
    backends.push_back(std::make_unique<RightShiftKey>());
    backends.push_back(std::make_unique<ThreadExecutionState>());
    return backends;
}

} // namespace

struct DesktopPlatform::Parts {
    RegistrySettingsStore settingsStore;
    MessageBoxDialogs dialogs;
    ExplorerPageOpener pageOpener;
    SystemRandomSource random;
    EventLoopProgramEnd programEnd;
    ShowCursorPointerDisplay pointerDisplay;
    BackendKeepAwake keepAwake{keepAwakeBackends()};
    ColourDialogPicker colourPicker;
    SystemCommandMonitorPower monitorPower;
    WindowsWindowHints windowHints;
    WindowsSingleInstance singleInstance{QStringLiteral(UMBRALUX_APP_ID)};
};

StartPreparation::StartPreparation() = default; // the system's fonts are ready for every program

StartPreparation::~StartPreparation() = default;

DesktopPlatform::DesktopPlatform()
    : m_parts(std::make_unique<Parts>()),
      m_services(std::make_unique<Platform>(
          Platform{m_parts->settingsStore, m_parts->dialogs, m_parts->pageOpener, m_parts->random,
                   m_parts->programEnd, m_parts->pointerDisplay, m_parts->keepAwake, m_parts->colourPicker,
                   m_parts->windowHints, m_parts->monitorPower})) {}

DesktopPlatform::~DesktopPlatform() = default;

SingleInstance& DesktopPlatform::singleInstance() {
    return m_parts->singleInstance;
}

void DesktopPlatform::onEndRequest(std::function<void()> endRequested) {
    // When the session ends, Windows sends WM_ENDSESSION and ends the process as soon as it is handled; Qt
    // emits aboutToQuit from inside that message, so this is the last moment to show the pointer again. The
    // signal also comes when the event loop ends on its own, after everything is given back already.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp,
                     [endRequested = std::move(endRequested)] { endRequested(); });
}

} // namespace umbralux
