// SPDX-License-Identifier: MIT
// A small X client for the end-to-end tests: reads what a user would see or what the X server knows
// (window titles, the pointer image, the focus, the colours of a region) and plays simple parts (a window
// manager's close request, a focused key-logging window beneath the program's).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <sys/select.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr, "usage: xprobe title WINDOW | close WINDOW | cursor | focus | keylog [X Y] |\n"
                         "       region X Y WIDTH HEIGHT | wmready\n");
    return 2;
}

Window parseWindow(const char* text) {
    return static_cast<Window>(std::strtoul(text, nullptr, 0));
}

int title(Display* dpy, Window window) {
    Atom netWmName = XInternAtom(dpy, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, window, netWmName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) != Success ||
        !data)
        return 1;
    std::printf("%.*s\n", static_cast<int>(count), reinterpret_cast<char*>(data));
    XFree(data);
    return 0;
}

/// What a window manager sends when the user clicks a window's close box.
int closeRequest(Display* dpy, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, window, False, NoEventMask, &event);
    XSync(dpy, False);
    return 0;
}

/// "visible" when the current pointer image has any pixel that is not fully transparent.
int cursor(Display* dpy) {
    XFixesCursorImage* image = XFixesGetCursorImage(dpy);
    if (!image)
        return 1;
    bool visible = false;
    for (int i = 0; i < image->width * image->height; ++i) {
        if ((image->pixels[i] >> 24) & 0xFF) {
            visible = true;
            break;
        }
    }
    std::printf("%s\n", visible ? "visible" : "hidden");
    XFree(image);
    return 0;
}

int focus(Display* dpy) {
    Window window = None;
    int revert = 0;
    XGetInputFocus(dpy, &window, &revert);
    std::printf("0x%lx\n", window);
    return 0;
}

/// What the screen shows in a rectangle: the number of distinct colours and the first one, "3 FF0000".
int region(Display* dpy, int x, int y, unsigned width, unsigned height) {
    XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), x, y, width, height, AllPlanes, ZPixmap);
    if (!image)
        return 1;
    std::set<unsigned long> colours;
    for (unsigned row = 0; row < height; ++row) {
        for (unsigned column = 0; column < width; ++column)
            colours.insert(XGetPixel(image, static_cast<int>(column), static_cast<int>(row)) & 0xFFFFFF);
    }
    std::printf("%zu %06lX\n", colours.size(), XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return 0;
}

/// Maps the window and waits for it to be mapped, asking again every half second: a window manager that is
/// still starting can drop the request. False when it is not mapped within the seconds given.
bool mapAndWait(Display* dpy, Window window, int seconds) {
    constexpr long kRetryMicroseconds = 500000;
    for (int attempt = 0; attempt < seconds * 2; ++attempt) {
        XMapRaised(dpy, window);
        XFlush(dpy);
        timeval wait{0, kRetryMicroseconds};
        fd_set fds;
        do {
            // Everything else that arrives meanwhile is of no interest.
            while (XPending(dpy)) {
                XEvent event;
                XNextEvent(dpy, &event);
                if (event.type == MapNotify && event.xmap.window == window)
                    return true;
            }
            FD_ZERO(&fds);
            FD_SET(ConnectionNumber(dpy), &fds);
        } while (select(ConnectionNumber(dpy) + 1, &fds, nullptr, nullptr, &wait) > 0);
    }
    return false;
}

/// Returns once the window manager maps new windows.
int wmReady(Display* dpy) {
    const int screen = DefaultScreen(dpy);
    Window window = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(dpy, window, StructureNotifyMask);
    const bool mapped = mapAndWait(dpy, window, 10);
    XDestroyWindow(dpy, window);
    return mapped ? 0 : 1;
}

/// A small focused window at the given place that prints every key it receives, one key name per line,
/// until killed.
int keylog(Display* dpy, int x, int y) {
    const int screen = DefaultScreen(dpy);
    Window window = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), x, y, 200, 100, 0,
                                        BlackPixel(dpy, screen), WhitePixel(dpy, screen));
    XStoreName(dpy, window, "keylog witness");
    XClassHint hint{const_cast<char*>("keylog"), const_cast<char*>("keylog")};
    XSetClassHint(dpy, window, &hint);
    XSelectInput(dpy, window, KeyPressMask | ExposureMask | StructureNotifyMask);
    XSizeHints place{};
    place.flags = USPosition;
    place.x = x;
    place.y = y;
    XSetWMNormalHints(dpy, window, &place);
    if (!mapAndWait(dpy, window, 10))
        return 1;
    XSetInputFocus(dpy, window, RevertToParent, CurrentTime);
    std::printf("ready 0x%lx\n", window);
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type == KeyPress) {
            const KeySym sym = XLookupKeysym(&event.xkey, 0);
            const char* name = XKeysymToString(sym);
            std::printf("key %s\n", name ? name : "?");
            std::fflush(stdout);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "xprobe: cannot open display\n");
        return 1;
    }
    const std::string command = argv[1];
    int result = 2;
    if (command == "title" && argc == 3)
        result = title(dpy, parseWindow(argv[2]));
    else if (command == "close" && argc == 3)
        result = closeRequest(dpy, parseWindow(argv[2]));
    else if (command == "cursor")
        result = cursor(dpy);
    else if (command == "focus")
        result = focus(dpy);
    else if (command == "keylog" && (argc == 2 || argc == 4))
        result = argc == 4 ? keylog(dpy, std::atoi(argv[2]), std::atoi(argv[3])) : keylog(dpy, 10, 10);
    else if (command == "wmready")
        result = wmReady(dpy);
    else if (command == "region" && argc == 6)
        result = region(dpy, std::atoi(argv[2]), std::atoi(argv[3]),
                        static_cast<unsigned>(std::atoi(argv[4])), static_cast<unsigned>(std::atoi(argv[5])));
    else
        result = usage();
    XCloseDisplay(dpy);
    return result;
}
