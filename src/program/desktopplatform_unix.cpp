// SPDX-License-Identifier: MIT
// The services of Linux and other Unix desktops.
#include "desktopplatform.h"

#include "app/monitorpower.h"
#include "app/platform.h"
#include "backendkeepawake.h"
#include "config.h"
#include "keepawake_unix.h"
#include "monitorpower_unix.h"
#include "platform/dbus/singleinstance_dbus.h"
#include "platform/qt/colourpicker_qt.h"
#include "platform/qt/dialogs_qt.h"
#include "platform/qt/pointerdisplay_qt.h"
#include "platform/qt/programend_qt.h"
#include "platform/qt/randomsource_qt.h"
#include "platform/unix/endrequests_unix.h"
#include "platform/unix/pageopener_unix.h"
#include "platform/unix/processmemory_unix.h"
#include "platform/unix/settingsstore_unix.h"
#include "platform/x11/windowhints_x11.h"

#include <QDBusConnection>
#include <fontconfig/fontconfig.h>

namespace umbralux {

struct DesktopPlatform::Parts {
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
    SignalEndRequests endRequests;
    DBusSingleInstance singleInstance{QDBusConnection::sessionBus(), QStringLiteral(UMBRALUX_APP_ID)};
};

StartPreparation::StartPreparation()
    // The font configuration takes longer to read than anything else a window needs before its first text,
    // and it needs nothing of Qt: it is read beside Qt's start, so that the first window finds it ready.
    // fontconfig keeps whichever configuration is read first, should Qt ask for it meanwhile.
    : m_work([] { FcInit(); }) {}

StartPreparation::~StartPreparation() {
    m_work.join();
}

DesktopPlatform::DesktopPlatform()
    : m_parts(std::make_unique<Parts>()),
      m_services(std::make_unique<Platform>(
          Platform{m_parts->settingsStore, m_parts->dialogs, m_parts->pageOpener, m_parts->random,
                   m_parts->programEnd, m_parts->pointerDisplay, m_parts->keepAwake, m_parts->colourPicker,
                   m_parts->windowHints, m_parts->monitorPower})) {
    keepMemoryPrivate(); // before anything reads the password
}

DesktopPlatform::~DesktopPlatform() = default;

SingleInstance& DesktopPlatform::singleInstance() {
    return m_parts->singleInstance;
}

void DesktopPlatform::onEndRequest(std::function<void()> endRequested) {
    QObject::connect(&m_parts->endRequests, &SignalEndRequests::received, &m_parts->endRequests,
                     [endRequested = std::move(endRequested)] { endRequested(); });
}

} // namespace umbralux
