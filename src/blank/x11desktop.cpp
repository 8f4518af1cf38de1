#include "x11desktop.h"

#include "config.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
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

} // namespace

bool available() {
    return display() != nullptr;
}

bool canSuspendScreenSaver() {
    Display* dpy = display();
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    return dpy && XScreenSaverQueryExtension(dpy, &event, &error) &&
           XScreenSaverQueryVersion(dpy, &major, &minor) &&
           (major > kSuspendMajor || (major == kSuspendMajor && minor >= kSuspendMinor));
}

void resetScreenSaver() {
    if (Display* dpy = display()) {
        XResetScreenSaver(dpy);
        XFlush(dpy);
    }
}

void suspendScreenSaver(bool suspend) {
    if (canSuspendScreenSaver()) {
        Display* dpy = display();
        XScreenSaverSuspend(dpy, suspend ? True : False);
        XFlush(dpy);
    }
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

#else

bool available() {
    return false;
}
bool canSuspendScreenSaver() {
    return false;
}

void resetScreenSaver() {}
void suspendScreenSaver(bool) {}
void skipTaskbar(QWidget*) {}

#endif

} // namespace umbralux::x11
