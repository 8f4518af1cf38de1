// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

/// The few X11 calls the program makes. All of them do nothing when the program does not run on X11
/// (Wayland, the offscreen platform) or was built without X11.
namespace umbralux::x11 {

bool available();
/// True on an X server whose screen saver can be suspended (MIT-SCREEN-SAVER 1.1 or later).
bool canSuspendScreenSaver();
/// Resets the server's idle time, as user input would, without producing any input.
void resetScreenSaver();
/// Suspends (true) or resumes (false) the server's screen saver and display power saving.
void suspendScreenSaver(bool suspend);
/// True when an xscreensaver daemon runs on the display.
bool xscreensaverRunning();
/// Tells a running xscreensaver daemon that the user is active, which restarts its idle countdown (and
/// unblanks the screen), as its own command-line client's deactivate command does; false when none runs.
/// xscreensaver watches the input devices itself and takes neither resetScreenSaver() nor
/// suspendScreenSaver() into account.
bool deactivateXScreenSaver();
/// Asks the window manager to leave the window out of task bars and pagers.
void skipTaskbar(QWidget* window);
/// Gives the window the keyboard now: through the window manager as a user's request (Qt's own request
/// carries the time of the program's last input event, which a window manager, or the X server without one,
/// takes as older than the focus the user gave elsewhere since), and directly without a window manager.
void activate(QWidget* window);

} // namespace umbralux::x11
