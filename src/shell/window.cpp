// Opening the window and watching its close button; setvideo() is called once
// by start-up (main.cpp).
#include "window.h"

#include "game_state.h"

BITMAP *buffer;

namespace {

// Set from the library's own thread when the close button is pressed.
volatile int close_pressed = 0;

void on_close_button() {
    close_pressed = 1;
}

} // namespace

bool setvideo() {
    set_color_depth(COLOR_MODE);
    if (set_gfx_mode(WINDOW_MODE, SW, SH, 0, 0) != 0) {
        allegro_message("Can't open a %d x %d window at %d bits per pixel: %s", SW, SH, COLOR_MODE,
                        allegro_error);
        return false;
    }
    // A text mode is set without complaint but leaves nothing to draw on.
    if (SCREEN_W <= 0 || SCREEN_H <= 0) {
        allegro_message("Graphics mode %d gives no screen to draw on; try 2 for a window",
                        WINDOW_MODE);
        return false;
    }
    buffer = create_bitmap(SCREEN_W, SCREEN_H);
    if (!buffer) {
        allegro_message("Can't create the %d x %d frame buffer", SCREEN_W, SCREEN_H);
        return false;
    }
    // The first pass presents the buffer before anything is drawn into it; a
    // new bitmap holds whatever memory it was given.
    clear_to_color(buffer, makecol(0, 128, 0));
    set_close_button_callback(on_close_button);
    return true;
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
