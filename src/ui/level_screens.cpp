// Drawing the screens between levels; called by the main loop when a screen
// comes up (shell/flow/main_loop.cpp).
#include "level_screens.h"

#include "frame.h"
#include "pictures.h"
#include "../core/game_state.h"
#include "../core/screens.h"

#include <cstdio>

namespace {

constexpr int LINE_HEIGHT = 16;

void draw_centred(const char *text, int x, int y) {
    textout_centre_ex(buffer, font, text, x, y, makecol(255, 255, 255), -1);
}

} // namespace

void draw_level_screen(int screen) {
    const int cx = unit.width / 2;
    const int cy = unit.height / 2;
    switch (screen) {
    case SCREEN_GREAT:
    case SCREEN_GREAT_AGAIN:
        draw_centred("Great!  Go on!", cx, cy);
        break;
    case SCREEN_SEND_SAVE:
        draw_centred("Please send your file \"save.dat\" to tarvellion@example.org", cx, cy);
        draw_centred("You will get a nice present if you do that!", cx, cy + LINE_HEIGHT);
        draw_centred("Maybe it is a new game that you would like very much!", cx,
                     cy + 2 * LINE_HEIGHT);
        break;
    case SCREEN_NEXT_LEVEL: {
        char line[32]; // room for "Level " and any 32-bit number
        std::snprintf(line, sizeof line, "Level %d", saturating_add(unit.level, 1));
        draw_centred(line, cx, cy);
        break;
    }
    case SCREEN_LOST:
        if (blost)
            draw_sprite(buffer, blost, cx - blost->w / 2, cy - blost->h / 2);
        break;
    }
}
