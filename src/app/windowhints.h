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
};

} // namespace umbralux
