// Opening the first mode; setvideo() is called once by start-up (main.cpp).
#include "window.h"

#include "display.h"
#include "../../core/game_state.h"

bool setvideo() {
    switch (open_display(WINDOW_MODE)) {
    case DISPLAY_REFUSED:
        allegro_message("Can't open a %d x %d window at %d bits per pixel: %s", display.mode_w,
                        display.mode_h, COLOR_MODE, allegro_error);
        return false;
    case DISPLAY_NO_SCREEN:
        allegro_message("Graphics mode %d gives no screen to draw on; try 2 for a window",
                        WINDOW_MODE);
        return false;
    case DISPLAY_OPEN:
        break;
    }
    buffer = create_bitmap(SW, SH);
    if (!buffer) {
        allegro_message("Can't create the %d x %d frame buffer", SW, SH);
        return false;
    }
    // The first pass presents the buffer before anything is drawn into it; a
    // new bitmap holds whatever memory it was given.
    clear_to_color(buffer, makecol(0, 128, 0));
    return true;
}
