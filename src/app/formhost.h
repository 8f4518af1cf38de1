// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

class QColor;
class QString;
class QWidget;

namespace umbralux {

class FormTimer;
class Settings;
struct ShownExit;
struct Platform;

/// What the options window's steps do to the blank screen: set its hint, restyle it, show it, and drive
/// its one-second timer.
class BlankScreenWindow {
  public:
    /// Pointer and hint timer: one tick a second while the screen is up.
    static constexpr int kTimer1IntervalMs = 1000;

    virtual ~BlankScreenWindow() = default;
    /// The one-line hint at the top of the screen.
    virtual void setHint(const QString& text) = 0;
    virtual void setHintForeColor(const QColor& color) = 0;
    /// Restyles the screen from the store: colour, hint colours, typed record cleared.
    virtual void ReLoadStyle() = 0;
    /// Shows the screen modeless over the whole screen and takes the keyboard. The exit method the options
    /// window showed stays a way out until the next showing, whatever the store holds.
    virtual void Show(const ShownExit& shown) = 0;
    /// The pointer and hint timer.
    virtual FormTimer& timer1() = 0;
};

/// What the blank screen's steps do to the options window: read and set its keep-awake box.
class OptionsWindow {
  public:
    virtual ~OptionsWindow() = default;
    /// The keep-awake box's value: 0 unchecked, 1 checked, 2 greyed.
    virtual qint16 Check4Value() const = 0;
    virtual void setCheck4Value(qint16 value) = 0;
};

/// How a window reaches the rest of the program. Each window is a single instance: a reference to a window
/// that is not loaded creates and loads it, running its load step inside the referring step; hiding keeps
/// it; closing discards it, and the next reference loads it afresh from its design.
class FormHost {
  public:
    virtual ~FormHost() = default;

    virtual Platform& platform() = 0;
    /// The program's settings, in the platform's store.
    virtual Settings& settings() = 0;
    /// The folder that holds the program file, without a trailing separator.
    virtual const QString& programFolder() const = 0;

    /// The blank screen, loaded (hidden) if it is not.
    virtual BlankScreenWindow& blankScreen() = 0;
    /// The options window, loaded if it is not.
    virtual OptionsWindow& optionsWindow() = 0;
    /// Shows the options window modeless, loading it first if it was closed.
    virtual void showOptionsWindow() = 0;

    /// The options window's own flag: true only while it is closed because the blank screen is shown.
    /// It outlives the window's reloads.
    virtual bool ShowingBlankScreen() const = 0;
    virtual void setShowingBlankScreen(bool showing) = 0;

    /// Called by a window that has been closed: it is discarded and the next reference loads it anew.
    virtual void formUnloaded(QWidget* form) = 0;
    /// Called by a window that became active.
    virtual void formActivated(QWidget* form) = 0;
    /// Called by a window that was hidden; a hidden window is no longer the program's active window.
    virtual void formHidden(QWidget* form) = 0;
};

} // namespace umbralux
