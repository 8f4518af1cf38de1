// SPDX-License-Identifier: MIT
#include "windowhints_x11.h"

#include "x11desktop.h"

#include <QWidget>

namespace umbralux {

void X11WindowHints::skipTaskbar(QWidget* window) {
    x11::skipTaskbar(window);
}

void X11WindowHints::fillOnShow(QWidget* window, const QColor& colour) {
    x11::setBackground(window, colour);
}

void X11WindowHints::activate(QWidget* window) {
    window->raise();
    window->activateWindow();
    x11::activate(window);
}

} // namespace umbralux
