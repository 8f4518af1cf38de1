// SPDX-License-Identifier: MIT
#pragma once

#include "app/pointerdisplay.h"

namespace umbralux {

/// A counter kept by the program, for desktops that have none of their own: while it is negative the pointer
/// is hidden over all of the program's windows (Qt's application-wide override cursor).
class OverrideCursorPointerDisplay final : public PointerDisplay {
  public:
    OverrideCursorPointerDisplay() = default;
    ~OverrideCursorPointerDisplay() override;
    OverrideCursorPointerDisplay(const OverrideCursorPointerDisplay&) = delete;
    OverrideCursorPointerDisplay& operator=(const OverrideCursorPointerDisplay&) = delete;

    int ShowCursor(bool show) override;

  private:
    int m_count = 0;
    bool m_blanked = false;
};

} // namespace umbralux
