// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

namespace umbralux {

/// The Wayland compositor's idle inhibitor (zwp_idle_inhibitor_v1 of the idle-inhibit protocol). The
/// compositor honours it only while the surface it was made for is visible, so it is held on whichever
/// window of the program is shown and moves with them.
class WaylandIdle {
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
    ~WaylandIdle();
    WaylandIdle(const WaylandIdle&) = delete;
    WaylandIdle& operator=(const WaylandIdle&) = delete;

    /// Holds an inhibitor on the shown window while true (and on each window shown later), none when false.
    void setHeld(bool held);
    Status status() const;

  private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace umbralux
