// SPDX-License-Identifier: MIT
#pragma once

namespace umbralux {

class KeepAwakeSummary;

/// One means of keeping the computer awake: an inhibitor of a desktop service, the X server's screen saver,
/// a synthetic key. BackendKeepAwake tells each of them the same things in the same order.
class KeepAwakeBackend {
  public:
    /// The steps of a keep-awake tick, in the order they run.
    enum class Tick {
        UserActivity,    ///< Tell the desktop that the user is active.
        EndUserActivity, ///< End that signal (the key release after the press).
        System,          ///< Tell power management that the system is in use.
    };

    virtual ~KeepAwakeBackend() = default;

    /// Keep-awake starts: take whatever is held until release().
    virtual void hold() = 0;
    /// Keep-awake stops: give back what hold() took, now or as soon as it has arrived.
    virtual void release() = 0;
    /// One step of a tick; most backends act on one step only.
    virtual void tick(Tick step) = 0;
    /// Adds what this backend uses, may use or cannot use to the tool tip's summary.
    virtual void report(KeepAwakeSummary& summary) const = 0;
};

} // namespace umbralux
