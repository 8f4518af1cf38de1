// SPDX-License-Identifier: MIT
#pragma once

class QColor;
class QWidget;

namespace umbralux {

/// What the program asks of the window manager beyond what Qt's window flags say.
class WindowHints {
  public:
    virtual ~WindowHints() = default;
    /// Leaves the window out of task bars and pagers.
    virtual void skipTaskbar(QWidget* window) = 0;
    /// Raises the shown window and gives it the keyboard at the user's request made elsewhere (a later start
    /// of the program), which the window's own last input event does not vouch for.
    virtual void activate(QWidget* window) = 0;
    /// Has the window system fill the window with the colour the moment it is shown, before the program
    /// has painted it: a window of one colour is then on the screen at once.
    virtual void fillOnShow(QWidget* window, const QColor& colour) = 0;
};

} // namespace umbralux
