// SPDX-License-Identifier: MIT
#pragma once

#include "app/pointerdisplay.h"

namespace umbralux {

/// Windows' own display counter (ShowCursor of user32).
class ShowCursorPointerDisplay final : public PointerDisplay {
  public:
    int ShowCursor(bool show) override;
};

} // namespace umbralux
