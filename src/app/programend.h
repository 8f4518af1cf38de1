// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

/// Ends the whole program at once with an exit status.
class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    virtual void endProgram(int status) = 0;
};

/// Leaves the event loop: no window runs its closing steps any more and main() returns the status.
class EventLoopProgramEnd final : public ProgramEnd {
  public:
    void endProgram(int status) override;
};

} // namespace umbralux
