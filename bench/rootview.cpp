// SPDX-License-Identifier: MIT
#include "rootview.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <thread>

namespace xbench {
namespace {

/// A colour that neither program paints, so that whatever is not root is the program's.
constexpr unsigned long kRootColour = 0x336699;
/// The blank screen may write a hint into this band at its top; below it, a covered screen is one colour.
constexpr int kHintBand = 80;
/// Every this many pixels across and down is compared; enough to see any control appear.
constexpr int kSampleStep = 4;
/// A frame matches its reference when at most this share of the sampled pixels differ.
constexpr double kMatchTolerance = 0.002;
/// Pause between two reads of the screen while waiting for a state.
constexpr auto kPollPause = std::chrono::microseconds(250);
/// A state has not come when it takes longer than this.
constexpr auto kStateTimeout = std::chrono::seconds(20);
/// The screen counts as settled when it has not changed for this long (only to take the references).
constexpr auto kStableFor = milliseconds(700);

} // namespace

RootView::RootView(const std::string& display) : m_bare(kRootColour) {
    m_dpy = XOpenDisplay(display.empty() ? nullptr : display.c_str());
    if (!m_dpy)
        die("cannot open the display " + display);
    m_name = DisplayString(m_dpy);
    if (!XShmQueryExtension(m_dpy))
        die("the X server has no MIT-SHM");
    const int screen = DefaultScreen(m_dpy);
    m_root = RootWindow(m_dpy, screen);
    m_width = DisplayWidth(m_dpy, screen);
    m_height = DisplayHeight(m_dpy, screen);
    m_image = XShmCreateImage(m_dpy, DefaultVisual(m_dpy, screen), DefaultDepth(m_dpy, screen), ZPixmap,
                              nullptr, &m_shm, m_width, m_height);
    m_shm.shmid = shmget(IPC_PRIVATE, m_image->bytes_per_line * m_height, IPC_CREAT | 0600);
    m_shm.shmaddr = m_image->data = static_cast<char*>(shmat(m_shm.shmid, nullptr, 0));
    m_shm.readOnly = False;
    XShmAttach(m_dpy, &m_shm);
    XSync(m_dpy, False);
    shmctl(m_shm.shmid, IPC_RMID, nullptr); // gone once both sides detach
    XSetWindowBackground(m_dpy, m_root, kRootColour);
    XClearWindow(m_dpy, m_root);
    XSync(m_dpy, False);
}

RootView::~RootView() {
    XShmDetach(m_dpy, &m_shm);
    shmdt(m_shm.shmaddr);
    XCloseDisplay(m_dpy);
}

Frame RootView::grab() {
    XShmGetImage(m_dpy, m_root, m_image, 0, 0, AllPlanes);
    Frame samples;
    samples.reserve((m_width / kSampleStep + 1) * (m_height / kSampleStep + 1));
    for (int y = 0; y < m_height; y += kSampleStep)
        for (int x = 0; x < m_width; x += kSampleStep)
            samples.push_back(XGetPixel(m_image, x, y) & 0xFFFFFF);
    return samples;
}

bool RootView::matches(const Frame& frame, const Frame& reference) {
    size_t differ = 0;
    for (size_t i = 0; i < frame.size(); ++i)
        differ += frame[i] != reference[i];
    return differ <= kMatchTolerance * frame.size();
}

bool RootView::bare(const Frame& frame) const {
    return std::all_of(frame.begin(), frame.end(), [&](uint32_t p) { return p == m_bare; });
}

void RootView::learnBare() {
    const auto frame = waitSettled(
        [](const Frame& f) {
            return std::all_of(f.begin(), f.end(), [&](uint32_t p) { return p == f.front(); });
        },
        "empty screen");
    m_bare = frame.front();
}

bool RootView::covered(const Frame& frame) const {
    const size_t first = (kHintBand / kSampleStep) * ((m_width + kSampleStep - 1) / kSampleStep);
    const uint32_t colour = frame.back();
    if (colour == m_bare)
        return false;
    return std::all_of(frame.begin() + first, frame.end(), [&](uint32_t p) { return p == colour; });
}

double RootView::waitFor(Clock::time_point start, const std::function<bool(const Frame&)>& done,
                         const char* what) {
    for (;;) {
        const auto frame = grab();
        if (done(frame))
            return msSince(start);
        if (Clock::now() - start > kStateTimeout)
            die(std::string("timed out waiting for ") + what + " on " + m_name);
        std::this_thread::sleep_for(kPollPause);
    }
}

Frame RootView::waitSettled(const std::function<bool(const Frame&)>& wanted, const char* what) {
    const auto start = Clock::now();
    Frame last;
    auto since = Clock::now();
    for (;;) {
        auto frame = grab();
        if (frame != last || !wanted(frame)) {
            last = std::move(frame);
            since = Clock::now();
        } else if (Clock::now() - since >= kStableFor) {
            return last;
        }
        if (Clock::now() - start > kStateTimeout)
            die(std::string("timed out waiting for a settled ") + what + " on " + m_name);
        std::this_thread::sleep_for(milliseconds(20));
    }
}

std::pair<int, int> RootView::optionsWindow() {
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(m_dpy, m_root, &rootReturn, &parent, &children, &count);
    std::pair<int, int> found{-1, -1};
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(m_dpy, children[i], &attributes) && attributes.map_state == IsViewable &&
            attributes.width == kWindowWidth && attributes.height == kWindowHeight)
            found = {attributes.x, attributes.y};
    }
    if (children)
        XFree(children);
    if (found.first < 0)
        die("no visible 536x287 window");
    return found;
}

void RootView::movePointer(int x, int y) {
    XTestFakeMotionEvent(m_dpy, -1, x, y, CurrentTime);
    XSync(m_dpy, False);
}

void RootView::click() {
    XTestFakeButtonEvent(m_dpy, 1, True, CurrentTime);
    XTestFakeButtonEvent(m_dpy, 1, False, CurrentTime);
    XFlush(m_dpy);
}

void RootView::escape() {
    const KeyCode key = XKeysymToKeycode(m_dpy, XK_Escape);
    XTestFakeKeyEvent(m_dpy, key, True, CurrentTime);
    XTestFakeKeyEvent(m_dpy, key, False, CurrentTime);
    XFlush(m_dpy);
}

} // namespace xbench
