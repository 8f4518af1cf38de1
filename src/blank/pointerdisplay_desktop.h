// SPDX-License-Identifier: MIT
#pragma once

#include "app/pointerdisplay.h"

namespace umbralux {

/// The counter of the desktop: Windows keeps it itself; elsewhere the program keeps one and hides the pointer
/// over all of its windows while it is negative.
class DesktopPointerDisplay final : public PointerDisplay {
  public:
    DesktopPointerDisplay() = default;
    ~DesktopPointerDisplay() override;
    DesktopPointerDisplay(const DesktopPointerDisplay&) = delete;
    DesktopPointerDisplay& operator=(const DesktopPointerDisplay&) = delete;

    int ShowCursor(bool show) override;

  private:
    int m_count = 0;
    bool m_blanked = false;
};

} // namespace umbralux
