// SPDX-License-Identifier: MIT
// Keep-awake on Windows: a right-Shift press and release fed to the system, which counts as user input, and
// a power-management call. The key events carry the program's own tag, and an application-wide filter drops
// them before any window sees them, so the blank screen never takes its own key for the user's.
#include "keepawake_win.h"

#include "app/failure.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <windows.h>

namespace umbralux {
namespace {

/// Extra information that marks the program's own key events.
constexpr ULONG_PTR kOwnKeyTag = 0x554D4258; // "UMBX"

class OwnKeyFilter final : public QAbstractNativeEventFilter {
  public:
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const MSG* msg = static_cast<const MSG*>(message);
        const bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
        return key && static_cast<ULONG_PTR>(GetMessageExtraInfo()) == kOwnKeyTag;
    }
};

void sendRightShift(DWORD flags) {
    const UINT scanCode = MapVirtualKeyA(VK_RSHIFT, MAPVK_VK_TO_VSC);
    if (scanCode > 0xFF)
        throw Failure(QStringLiteral("Overflow"));
    keybd_event(VK_RSHIFT, static_cast<BYTE>(scanCode), flags, kOwnKeyTag);
}

} // namespace

WindowsKeepAwake::WindowsKeepAwake() {
    static OwnKeyFilter filter;
    QCoreApplication::instance()->installNativeEventFilter(&filter);
}

void WindowsKeepAwake::setHeld(bool) {
    // Nothing is held between the ticks.
}

void WindowsKeepAwake::signalUserActivity() {
    sendRightShift(0);
}

void WindowsKeepAwake::endUserActivity() {
    sendRightShift(KEYEVENTF_KEYUP);
}

void WindowsKeepAwake::keepSystemAwake() {
    SetThreadExecutionState(ES_SYSTEM_REQUIRED);
}

QString WindowsKeepAwake::describe() const {
    return QStringLiteral("Keep-awake uses Windows power management.");
}

} // namespace umbralux
