// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>
#include <QString>

/// What keep-awake uses and what the desktop refused, for whoever turns the category on.
Q_DECLARE_LOGGING_CATEGORY(lcKeepAwake)

namespace umbralux {

class KeepAwakeSummary;

/// Keeps the computer from sleeping and from starting its screen saver while the keep-awake timer runs.
/// Nothing done here may reach the program as input: the blank screen must never dismiss itself.
class KeepAwake {
  public:
    virtual ~KeepAwake() = default;
    /// Holds the desktop's inhibitors while true, releases them when false.
    virtual void setHeld(bool held) = 0;
    /// First step of a tick: tells the desktop that the user is active.
    virtual void signalUserActivity() = 0;
    /// Second step of a tick: ends that signal (a key release on Windows).
    virtual void endUserActivity() = 0;
    /// Last step of a tick: tells power management that the system is in use.
    virtual void keepSystemAwake() = 0;
    /// What keep-awake uses on this desktop, or why it is not available; for the check box's tool tip.
    virtual QString describe() const = 0;
    /// What each of its means says about itself: holds, not asked yet, or cannot be used and why.
    virtual void report(KeepAwakeSummary& summary) const = 0;
};

} // namespace umbralux
