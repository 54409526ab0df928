// Xlib calls of the window harness.
#include "x_requests.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace window_test {

bool display_accepts_clients(const std::string &display) {
    Display *x = XOpenDisplay(display.c_str());
    if (!x)
        return false;
    XCloseDisplay(x);
    return true;
}

bool send_close_request(const std::string &display, unsigned long window) {
    Display *x = XOpenDisplay(display.c_str());
    if (!x)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(x, window, False, NoEventMask, &event) != 0;
    XSync(x, False);
    XCloseDisplay(x);
    return sent;
}

bool glide_pointer(const std::string &display, unsigned long window, int x, int y) {
    Display *x_display = XOpenDisplay(display.c_str());
    if (!x_display)
        return false;
    if (!window)
        window = DefaultRootWindow(x_display);
    Window root, child;
    int root_x, root_y, from_x, from_y;
    unsigned int buttons;
    if (!XQueryPointer(x_display, window, &root, &child, &root_x, &root_y, &from_x, &from_y,
                       &buttons)) {
        XCloseDisplay(x_display);
        return false;
    }
    constexpr int STEPS = 24;
    if (std::abs(x - from_x) + std::abs(y - from_y) < STEPS) {
        // Too short a way for a run of distinct motions: set out from further off.
        from_x = x >= STEPS ? x - STEPS : x + STEPS;
        from_y = y;
    }
    for (int step = 1; step <= STEPS; step++) {
        XWarpPointer(x_display, 0, window, 0, 0, 0, 0, from_x + (x - from_x) * step / STEPS,
                     from_y + (y - from_y) * step / STEPS);
        XSync(x_display, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    XCloseDisplay(x_display);
    return true;
}

std::vector<unsigned long> window_property_cardinals(const std::string &display,
                                                     unsigned long window,
                                                     const std::string &property) {
    std::vector<unsigned long> items;
    Display *x = XOpenDisplay(display.c_str());
    if (!x)
        return items;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char *data = nullptr;
    // Xlib hands 32-bit items over as longs, whatever their size on the wire.
    if (XGetWindowProperty(x, window, XInternAtom(x, property.c_str(), False), 0, 1 << 24, False,
                           XA_CARDINAL, &type, &format, &count, &left, &data) == Success &&
        data && format == 32) {
        const auto *values = reinterpret_cast<const unsigned long *>(data);
        items.assign(values, values + count);
    }
    if (data)
        XFree(data);
    XCloseDisplay(x);
    return items;
}

} // namespace window_test
