// SPDX-License-Identifier: MIT
#pragma once

#include "app/windowhints.h"

namespace umbralux {

/// Windows: the window flags Qt sets are all there is to say.
class WindowsWindowHints final : public WindowHints {
  public:
    void skipTaskbar(QWidget*) override {}
};

} // namespace umbralux
