// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawakebackend.h"
#include "inhibitor.h"

#include <memory>

namespace umbralux {

/// Two inhibitors for the same purpose, the second standing in for the first: it is held while the first
/// fails, also when that failure arrives after hold() has returned. GNOME's session manager stands in this
/// way for org.freedesktop.ScreenSaver, which GNOME does not offer.
class FallbackInhibitor final : public KeepAwakeBackend {
  public:
    FallbackInhibitor(std::unique_ptr<Inhibitor> primary, std::unique_ptr<Inhibitor> fallback);
    FallbackInhibitor(const FallbackInhibitor&) = delete;
    FallbackInhibitor& operator=(const FallbackInhibitor&) = delete;

    /// Asks the first; the second once the first has failed.
    void hold() override;
    /// Releases both.
    void release() override;
    /// Passes the step on to both.
    void tick(Tick step) override;
    /// The first while it works or may work, and then the second as well.
    void report(KeepAwakeSummary& summary) const override;

  private:
    void follow();

    std::unique_ptr<Inhibitor> m_primary;
    std::unique_ptr<Inhibitor> m_fallback;
    bool m_held = false;
};

} // namespace umbralux
