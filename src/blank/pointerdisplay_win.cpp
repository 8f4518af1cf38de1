// SPDX-License-Identifier: MIT
#include "pointerdisplay_desktop.h"

#include <windows.h>

namespace umbralux {

DesktopPointerDisplay::~DesktopPointerDisplay() = default;

int DesktopPointerDisplay::ShowCursor(bool show) {
    return ::ShowCursor(show ? TRUE : FALSE);
}

} // namespace umbralux
