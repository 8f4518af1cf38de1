// SPDX-License-Identifier: MIT
#pragma once

#include "app/windowhints.h"

namespace umbralux {

/// The hints as EWMH window states; nothing is asked when the program does not run on X11.
class X11WindowHints final : public WindowHints {
  public:
    void skipTaskbar(QWidget* window) override;
    void activate(QWidget* window) override;
    /// The window's background in the X server: the server fills it at mapping, before Qt paints.
    void fillOnShow(QWidget* window, const QColor& colour) override;
};

} // namespace umbralux
