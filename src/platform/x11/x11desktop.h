// SPDX-License-Identifier: MIT
#pragma once

class QColor;
class QWidget;
// Xlib's own name for its Display: this header does not include Xlib.h, whose macros clash with Qt's.
struct _XDisplay; // NOLINT(bugprone-reserved-identifier)
struct xcb_connection_t;

/// The few X11 calls the program makes. All of them do nothing without a connection (the program does not
/// run on X11: Wayland, the offscreen platform) or when it was built without X11.
namespace umbralux::x11 {

/// Qt's connection to the X server, through Xlib and through xcb; both null when there is none.
struct Connection {
    _XDisplay* display = nullptr;
    xcb_connection_t* xcb = nullptr;
};

/// The connection Qt opened, for the code that is handed it.
Connection qtConnection();
/// True on an X server whose screen saver can be suspended (MIT-SCREEN-SAVER 1.1 or later).
bool canSuspendScreenSaver(_XDisplay* display);
/// Resets the server's idle time, as user input would, without producing any input.
void resetScreenSaver(_XDisplay* display);
/// Suspends (true) or resumes (false) the server's screen saver and display power saving.
void suspendScreenSaver(_XDisplay* display, bool suspend);
/// True when an xscreensaver daemon runs on the display.
bool xscreensaverRunning(xcb_connection_t* connection);
/// Tells a running xscreensaver daemon that the user is active, which restarts its idle countdown (and
/// unblanks the screen), as its own command-line client's deactivate command does; false when none runs.
/// xscreensaver watches the input devices itself and takes neither resetScreenSaver() nor
/// suspendScreenSaver() into account.
bool deactivateXScreenSaver(xcb_connection_t* connection);
/// Asks the window manager to leave the window out of task bars and pagers.
void skipTaskbar(QWidget* window);
/// Gives the window the keyboard now: through the window manager as a user's request (Qt's own request
/// carries the time of the program's last input event, which a window manager, or the X server without one,
/// takes as older than the focus the user gave elsewhere since), and directly without a window manager.
void activate(QWidget* window);
/// Sets the window's background in the server to the colour: the server fills the window with it whenever
/// it is mapped or exposed, before the client paints. Creates the native window if there is none yet.
void setBackground(QWidget* window, const QColor& colour);

} // namespace umbralux::x11
