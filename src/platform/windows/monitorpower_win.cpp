// SPDX-License-Identifier: MIT
#include "monitorpower_win.h"

#include <QLoggingCategory>
#include <windows.h>

Q_LOGGING_CATEGORY(lcMonitorPower, "umbralux.monitorpower", QtWarningMsg)

namespace umbralux {
namespace {

/// SC_MONITORPOWER's argument: the monitors off (1 would be their low-power state only).
constexpr LPARAM kMonitorsOff = 2;
/// SC_MONITORPOWER's argument: the monitors on.
constexpr LPARAM kMonitorsOn = -1;
/// Extra information that marks the program's own mouse move: "UMBM".
constexpr ULONG_PTR kOwnMoveTag = 0x554D424D;
/// The hidden window's class.
constexpr wchar_t kWindowClass[] = L"Umbralux.MonitorPower";

} // namespace

SystemCommandMonitorPower::~SystemCommandMonitorPower() {
    if (m_window)
        DestroyWindow(m_window);
}

QString SystemCommandMonitorPower::powerOff() {
    if (!m_window) {
        // A top-level window that is never shown: a message-only window is no part of the desktop.
        const HINSTANCE module = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = module;
        windowClass.lpszClassName = kWindowClass;
        if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return QStringLiteral("the monitor power command has no window to go through (error %1)")
                .arg(GetLastError());
        m_window = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, kWindowClass, WS_POPUP, 0, 0, 0, 0,
                                   nullptr, nullptr, module, nullptr);
        if (!m_window)
            return QStringLiteral("the monitor power command has no window to go through (error %1)")
                .arg(GetLastError());
    }
    // Carried out here, at once, as if the window had received it; the system answers nothing.
    DefWindowProcW(m_window, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorsOff);
    return {};
}

void SystemCommandMonitorPower::powerOn() {
    if (!m_window)
        return; // never powered off
    DefWindowProcW(m_window, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorsOn);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE; // dx and dy 0: the pointer stays where it is
    move.mi.dwExtraInfo = kOwnMoveTag;
    if (SendInput(1, &move, sizeof move) != 1)
        qCWarning(lcMonitorPower) << "the mouse move that wakes the monitors was refused, error"
                                  << GetLastError();
}

} // namespace umbralux
