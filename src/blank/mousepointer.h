// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

class PointerDisplay;

/// Hides and shows the mouse pointer for the blank screen, whatever the display count was before.
class MousePointer {
  public:
    explicit MousePointer(PointerDisplay& display) : m_display(display) {}

    /// Lowers the count until it is negative (at least one step).
    void HideMousePointer();
    /// Raises the count until it is 0 or more (at least one step).
    void ShowMousePointer();
    /// What this module did last: true after HideMousePointer, false after ShowMousePointer.
    bool PointerHidden() const { return m_pointerHidden; }

  private:
    PointerDisplay& m_display;
    bool m_pointerHidden = false;
};

} // namespace umbralux
