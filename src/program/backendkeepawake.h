// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawake.h"
#include "app/keepawakebackend.h"

#include <memory>
#include <vector>

namespace umbralux {

/// Keep-awake as a list of backends, each told every change and every tick step in turn. Which backends a
/// desktop has is decided where the program is assembled.
class BackendKeepAwake final : public KeepAwake {
  public:
    explicit BackendKeepAwake(std::vector<std::unique_ptr<KeepAwakeBackend>> backends);
    /// Gives back every hold: the services drop the holds of a program that is gone, but not at once.
    ~BackendKeepAwake() override;
    BackendKeepAwake(const BackendKeepAwake&) = delete;
    BackendKeepAwake& operator=(const BackendKeepAwake&) = delete;

    /// Tells every backend hold() or release(), once per change.
    void setHeld(bool held) override;
    /// Tells every backend the tick's first step.
    void signalUserActivity() override;
    /// Tells every backend the tick's second step.
    void endUserActivity() override;
    /// Tells every backend the tick's last step.
    void keepSystemAwake() override;
    /// The backends' reports as one sentence.
    QString describe() const override;
    void report(KeepAwakeSummary& summary) const override;

  private:
    template <typename Call> void forEach(Call call);

    std::vector<std::unique_ptr<KeepAwakeBackend>> m_backends;
    bool m_held = false;
};

} // namespace umbralux
