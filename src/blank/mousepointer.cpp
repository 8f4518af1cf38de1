// SPDX-License-Identifier: MIT
#include "mousepointer.h"

#include "app/pointerdisplay.h"

namespace umbralux {

void MousePointer::HideMousePointer() {
    while (m_display.ShowCursor(false) >= 0) {
    }
    m_pointerHidden = true;
}

void MousePointer::ShowMousePointer() {
    while (m_display.ShowCursor(true) < 0) {
    }
    m_pointerHidden = false;
}

} // namespace umbralux
