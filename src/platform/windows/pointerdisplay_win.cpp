// SPDX-License-Identifier: MIT
#include "pointerdisplay_win.h"

#include <windows.h>

namespace umbralux {

int ShowCursorPointerDisplay::ShowCursor(bool show) {
    return ::ShowCursor(show ? TRUE : FALSE);
}

} // namespace umbralux
