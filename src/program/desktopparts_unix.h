// SPDX-License-Identifier: MIT
// The services of Linux and other Unix desktops, as DesktopPlatform owns them.
#pragma once

#include "app/monitorpower.h"
#include "backendkeepawake.h"
#include "config.h"
#include "desktopplatform.h"
#include "keepawake_unix.h"
#include "monitorpower_unix.h"
#include "platform/dbus/singleinstance_dbus.h"
#include "platform/qt/colourpicker_qt.h"
#include "platform/qt/dialogs_qt.h"
#include "platform/qt/inputcontext_qt.h"
#include "platform/qt/pointerdisplay_qt.h"
#include "platform/qt/programend_qt.h"
#include "platform/qt/randomsource_qt.h"
#include "platform/unix/endrequests_unix.h"
#include "platform/unix/pageopener_unix.h"
#include "platform/unix/processmemory_unix.h"
#include "platform/unix/settingsstore_unix.h"
#include "platform/x11/windowhints_x11.h"

#include <QDBusConnection>

namespace umbralux {

struct DesktopPlatform::Parts {
    Parts() { keepMemoryPrivate(); } // before anything reads the password

    IniSettingsStore settingsStore;
    MessageBoxDialogs dialogs;
    XdgPageOpener pageOpener;
    SystemRandomSource random;
    EventLoopProgramEnd programEnd;
    OverrideCursorPointerDisplay pointerDisplay;
    BackendKeepAwake keepAwake{
        keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};
    ColourDialogPicker colourPicker;
    FirstWorkingMonitorPower monitorPower{monitorPowerWays(QDBusConnection::sessionBus())};
    X11WindowHints windowHints;
    QtInputContext inputContext;
    SignalEndRequests endRequests;
    DBusSingleInstance singleInstance{QDBusConnection::sessionBus(), QStringLiteral(UMBRALUX_APP_ID)};
};

} // namespace umbralux
