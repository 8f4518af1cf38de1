// SPDX-License-Identifier: MIT
#pragma once

#include "app/programend.h"

namespace umbralux {

/// Leaves the event loop: no window runs its closing steps any more and main() returns the status.
class EventLoopProgramEnd final : public ProgramEnd {
  public:
    void endProgram(int status) override;
};

} // namespace umbralux
