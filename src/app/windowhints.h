// SPDX-License-Identifier: MIT
#pragma once

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
};

} // namespace umbralux
