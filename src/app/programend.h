// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

/// Ends the whole program at once with an exit status.
class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    virtual void endProgram(int status) = 0;
};

} // namespace umbralux
