// SPDX-License-Identifier: MIT
#pragma once
// The screen as the driver sees it: the root window's pixels, read back through shared memory and sampled,
// and the user's pointer and keys, played with XTest.

#include "basics.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace xbench {

/// Both programs show their options window at this size; it is how the driver finds it.
constexpr int kWindowWidth = 536;
constexpr int kWindowHeight = 287;

/// The sampled pixels of the whole screen at one moment.
using Frame = std::vector<uint32_t>;

class RootView {
  public:
    /// The X server given, or DISPLAY's.
    explicit RootView(const std::string& display = {});
    ~RootView();
    RootView(const RootView&) = delete;
    RootView& operator=(const RootView&) = delete;

    /// The sampled pixels of the whole screen, as it is now.
    Frame grab();

    /// Whether a frame differs from the reference in few enough pixels to be taken for it.
    static bool matches(const Frame& frame, const Frame& reference);

    /// Nothing but the colour of the empty screen: no window of a program is visible.
    bool bare(const Frame& frame) const;

    /// Takes the colour of the empty screen: the root's on a bare X server, the empty output's of a
    /// compositor nested in it.
    void learnBare();

    /// One colour, not the empty screen's, everywhere below the hint band: on every monitor, whose tops are
    /// all at the screen's.
    bool covered(const Frame& frame) const;

    /// Reads the screen until the predicate holds; the milliseconds from start to the read that saw it.
    double waitFor(Clock::time_point start, const std::function<bool(const Frame&)>& done, const char* what);

    /// Waits until the screen satisfies the predicate and then stays unchanged for a while; returns it.
    Frame waitSettled(const std::function<bool(const Frame&)>& wanted, const char* what);

    /// Top-left corner of the visible options window.
    std::pair<int, int> optionsWindow();

    void movePointer(int x, int y);
    void parkPointer() { movePointer(1, 1); }
    void click();
    void escape();

  private:
    Display* m_dpy = nullptr;
    std::string m_name;
    Window m_root = 0;
    int m_width = 0;
    int m_height = 0;
    uint32_t m_bare;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_shm{};
};

} // namespace xbench
