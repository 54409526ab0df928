// Watching the window's close button; called by the display module, the
// input stage and the endings.
#include "close_button.h"

#include <allegro.h>

namespace {

// Set from the library's own thread when the close button is pressed.
volatile int close_pressed = 0;

void on_close_button() {
    close_pressed = 1;
}

} // namespace

void watch_close_button() {
    set_close_button_callback(on_close_button);
}

bool close_requested() {
    return close_pressed != 0;
}

bool take_close_request() {
    if (!close_pressed)
        return false;
    close_pressed = 0;
    return true;
}
