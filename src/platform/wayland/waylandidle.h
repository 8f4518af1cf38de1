// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawakebackend.h"

#include <memory>

namespace umbralux {

/// The Wayland compositor's idle inhibitor (zwp_idle_inhibitor_v1 of the idle-inhibit protocol). The
/// compositor honours it only while the surface it was made for is visible, so it is held on whichever
/// window of the program is shown and moves with them.
class WaylandIdle final : public KeepAwakeBackend {
  public:
    enum class Status {
        NotWayland, ///< The program does not run on Wayland.
        NotBuilt,   ///< It does, but was built without Qt's Wayland client.
        Missing,    ///< The compositor does not offer the protocol.
        Available,  ///< The compositor offers it; nothing is held now.
        Holding,    ///< An inhibitor is held on a shown window.
    };

    /// The protocol's global, as compositors list it.
    static constexpr char kProtocol[] = "zwp_idle_inhibit_manager_v1";

    WaylandIdle();
    ~WaylandIdle() override;
    WaylandIdle(const WaylandIdle&) = delete;
    WaylandIdle& operator=(const WaylandIdle&) = delete;

    /// Holds an inhibitor on the shown window, and on each window shown later.
    void hold() override { setHeld(true); }
    /// Drops the inhibitor.
    void release() override { setHeld(false); }
    /// The inhibitor lasts by itself: nothing to do at a tick.
    void tick(Tick) override {}
    /// Uses the inhibitor where the compositor offers it, or says why not.
    void report(KeepAwakeSummary& summary) const override;
    Status status() const;

  private:
    void setHeld(bool held);

    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace umbralux
