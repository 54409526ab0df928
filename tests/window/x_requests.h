// The requests the harness makes to the X server itself rather than
// through a helper program. Xlib lives only behind this header: its macros
// (None, Bool, Status) clash with GoogleTest's names.
#pragma once

#include <string>
#include <vector>

namespace window_test {

// Whether a client can connect to the display now.
bool display_accepts_clients(const std::string &display);

// Sends the top-level window what a window manager sends when its close
// button is clicked: a WM_PROTOCOLS message with WM_DELETE_WINDOW.
bool send_close_request(const std::string &display, unsigned long window);

// Moves the pointer to (x, y) in the window (0: the whole screen) the way a
// hand does, through a run of motion events rather than one jump.
bool glide_pointer(const std::string &display, unsigned long window, int x, int y);

// A property of 32-bit items of the window, such as _NET_WM_ICON; empty when
// the window has none.
std::vector<unsigned long> window_property_cardinals(const std::string &display,
                                                     unsigned long window,
                                                     const std::string &property);

} // namespace window_test
