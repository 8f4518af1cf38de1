// SPDX-License-Identifier: MIT
// The services of Windows, as DesktopPlatform owns them.
#pragma once

#include "app/monitorpower.h"
#include "backendkeepawake.h"
#include "config.h"
#include "desktopplatform.h"
#include "platform/qt/colourpicker_qt.h"
#include "platform/qt/dialogs_qt.h"
#include "platform/qt/inputcontext_qt.h"
#include "platform/qt/programend_qt.h"
#include "platform/qt/randomsource_qt.h"
#include "platform/windows/monitorpower_win.h"
#include "platform/windows/pageopener_win.h"
#include "platform/windows/pointerdisplay_win.h"
#include "platform/windows/settingsstore_win.h"
#include "platform/windows/singleinstance_win.h"
#include "platform/windows/windowhints_win.h"

#include <memory>
#include <vector>

namespace umbralux {

/// The right-Shift press and release, then the power-management call.
std::vector<std::unique_ptr<KeepAwakeBackend>> keepAwakeBackends();

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
    QtInputContext inputContext;
    WindowsSingleInstance singleInstance{QStringLiteral(UMBRALUX_APP_ID)};
};

} // namespace umbralux
