// SPDX-License-Identifier: MIT
#pragma once

#include "app/windowhints.h"

#include <QWidget>

namespace umbralux {

/// Windows: the window flags Qt sets are all there is to say.
class WindowsWindowHints final : public WindowHints {
  public:
    void skipTaskbar(QWidget*) override {}
    void activate(QWidget* window) override {
        window->raise();
        window->activateWindow();
    }
    void fillOnShow(QWidget*, const QColor&) override {}
};

} // namespace umbralux
