// SPDX-License-Identifier: MIT
#include "windowhints_x11.h"

#include "x11desktop.h"

namespace umbralux {

void X11WindowHints::skipTaskbar(QWidget* window) {
    x11::skipTaskbar(window);
}

} // namespace umbralux
