// SPDX-License-Identifier: MIT
#include "x11desktop.h"

#include "config.h"

#include <QColor>
#include <QGuiApplication>
#include <QWidget>

#ifdef HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>
#endif

namespace umbralux::x11 {

#ifdef HAVE_X11
namespace {

/// XScreenSaverSuspend came with this version of the screen saver extension.
constexpr int kSuspendMajor = 1;
constexpr int kSuspendMinor = 1;

Display* display() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return native ? native->display() : nullptr;
}

xcb_connection_t* connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return native ? native->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* conn, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        conn, xcb_intern_atom(conn, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    xcb_atom_t result = XCB_ATOM_NONE;
    if (reply)
        result = reply->atom;
    std::free(reply);
    return result;
}

/// The xscreensaver daemon's own window: a child of the root window that carries the version property.
/// Errors come back as empty replies through xcb, so a window that vanishes meanwhile is simply passed over.
xcb_window_t xscreensaverWindow(xcb_connection_t* conn) {
    const xcb_atom_t version = atom(conn, "_SCREENSAVER_VERSION");
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    if (version == XCB_ATOM_NONE || !screen)
        return XCB_WINDOW_NONE;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(conn, xcb_query_tree(conn, screen->root), nullptr);
    if (!tree)
        return XCB_WINDOW_NONE;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int count = xcb_query_tree_children_length(tree);
    std::vector<xcb_get_property_cookie_t> asked;
    asked.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) // all questions first, then the answers: one round trip in all
        asked.push_back(xcb_get_property(conn, 0, children[i], version, XCB_ATOM_STRING, 0, 0));
    xcb_window_t found = XCB_WINDOW_NONE;
    for (int i = 0; i < count; ++i) {
        xcb_get_property_reply_t* reply =
            xcb_get_property_reply(conn, asked[static_cast<size_t>(i)], nullptr);
        if (reply && reply->type == XCB_ATOM_STRING && found == XCB_WINDOW_NONE)
            found = children[i];
        std::free(reply);
    }
    std::free(tree);
    return found;
}

} // namespace

Connection qtConnection() {
    return {display(), connection()};
}

bool canSuspendScreenSaver(Display* dpy) {
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    return dpy && XScreenSaverQueryExtension(dpy, &event, &error) &&
           XScreenSaverQueryVersion(dpy, &major, &minor) &&
           (major > kSuspendMajor || (major == kSuspendMajor && minor >= kSuspendMinor));
}

void resetScreenSaver(Display* dpy) {
    if (dpy) {
        XResetScreenSaver(dpy);
        XFlush(dpy);
    }
}

void suspendScreenSaver(Display* dpy, bool suspend) {
    if (canSuspendScreenSaver(dpy)) {
        XScreenSaverSuspend(dpy, suspend ? True : False);
        XFlush(dpy);
    }
}

bool xscreensaverRunning(xcb_connection_t* conn) {
    return conn && xscreensaverWindow(conn) != XCB_WINDOW_NONE;
}

bool deactivateXScreenSaver(xcb_connection_t* conn) {
    if (!conn)
        return false;
    const xcb_window_t daemon = xscreensaverWindow(conn);
    if (daemon == XCB_WINDOW_NONE)
        return false;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = daemon;
    message.type = atom(conn, "SCREENSAVER");
    message.data.data32[0] = atom(conn, "DEACTIVATE");
    xcb_send_event(conn, 0, daemon, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(conn);
    return true;
}

void skipTaskbar(QWidget* window) {
    Display* dpy = display();
    if (!dpy || !window)
        return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(window->winId());
    event.xclient.message_type = XInternAtom(dpy, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1; // _NET_WM_STATE_ADD
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(dpy, "_NET_WM_STATE_SKIP_TASKBAR", False));
    event.xclient.data.l[2] = static_cast<long>(XInternAtom(dpy, "_NET_WM_STATE_SKIP_PAGER", False));
    event.xclient.data.l[3] = 1; // source: a normal application
    XSendEvent(dpy, DefaultRootWindow(dpy), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(dpy);
}

void setBackground(QWidget* window, const QColor& colour) {
    Display* dpy = display();
    if (!dpy || !window)
        return;
    const auto id = static_cast<Window>(window->winId());
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(dpy, id, &attributes))
        return;
    // The colour as the window's visual takes it; 16-bit channels, as X counts them.
    constexpr int kChannelScale = 257;
    XColor pixel{};
    pixel.red = static_cast<unsigned short>(colour.red() * kChannelScale);
    pixel.green = static_cast<unsigned short>(colour.green() * kChannelScale);
    pixel.blue = static_cast<unsigned short>(colour.blue() * kChannelScale);
    pixel.flags = DoRed | DoGreen | DoBlue;
    if (!XAllocColor(dpy, attributes.colormap, &pixel))
        return;
    XSetWindowBackground(dpy, id, pixel.pixel);
    // Before Qt's own requests to map the window, which follow on the same connection.
    XFlush(dpy);
}

void activate(QWidget* window) {
    xcb_connection_t* conn = connection();
    if (!conn || !window)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    constexpr uint32_t kSourcePager = 2; // a request the user made through another program
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = id;
    event.type = atom(conn, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = kSourcePager;
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
    xcb_send_event(conn, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    // Without a window manager nobody acts on the message. An error (the window not mapped yet) comes back to
    // Qt as an event, not as the end of the program.
    xcb_set_input_focus(conn, XCB_INPUT_FOCUS_PARENT, id, XCB_CURRENT_TIME);
    xcb_flush(conn);
}

#else

Connection qtConnection() {
    return {};
}
bool canSuspendScreenSaver(_XDisplay*) {
    return false;
}

bool xscreensaverRunning(xcb_connection_t*) {
    return false;
}
bool deactivateXScreenSaver(xcb_connection_t*) {
    return false;
}

void resetScreenSaver(_XDisplay*) {}
void suspendScreenSaver(_XDisplay*, bool) {}
void skipTaskbar(QWidget*) {}
void activate(QWidget*) {}
void setBackground(QWidget*, const QColor&) {}

#endif

} // namespace umbralux::x11
