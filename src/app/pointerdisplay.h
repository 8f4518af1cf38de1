// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

/// The platform's pointer display counter: the pointer shows while the count is 0 or more.
class PointerDisplay {
  public:
    virtual ~PointerDisplay() = default;
    /// Raises (show) or lowers (hide) the count by one and returns the new count.
    virtual int ShowCursor(bool show) = 0;
};

} // namespace umbralux
