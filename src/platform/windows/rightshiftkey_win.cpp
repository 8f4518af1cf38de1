// SPDX-License-Identifier: MIT
#include "rightshiftkey_win.h"

#include "app/failure.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <windows.h>

namespace umbralux {
namespace {

/// Extra information that marks the program's own key events.
constexpr ULONG_PTR kOwnKeyTag = 0x554D4258; // "UMBX"

/// The largest scan code keybd_event takes: it is passed as a byte.
constexpr UINT kLargestScanCode = 0xFF;

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
    if (scanCode > kLargestScanCode)
        throw Failure(QCoreApplication::translate("Failure", "Overflow"));
    keybd_event(VK_RSHIFT, static_cast<BYTE>(scanCode), flags, kOwnKeyTag);
}

} // namespace

RightShiftKey::RightShiftKey() {
    static OwnKeyFilter filter;
    QCoreApplication::instance()->installNativeEventFilter(&filter);
}

void RightShiftKey::tick(Tick step) {
    switch (step) {
    case Tick::UserActivity:
        sendRightShift(0);
        break;
    case Tick::EndUserActivity:
        sendRightShift(KEYEVENTF_KEYUP);
        break;
    case Tick::System:
        break;
    }
}

} // namespace umbralux
