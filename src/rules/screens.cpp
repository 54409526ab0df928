// Level-cleared and game-over screens, called by iswin() (collisions.cpp).
#include "screens.h"

#include "level_setup.h"
#include "../shell/assets.h"
#include "../shell/display.h"
#include "../shell/endings.h"
#include "../shell/game_state.h"
#include "../shell/gamepad.h"
#include "../shell/waits.h"
#include "../shell/window.h"
#include "../ui/frame.h"
#include "../ui/high_score_screens.h"

#include <cstdio>

namespace {

constexpr int LINE_HEIGHT = 16;
constexpr int MESSAGE_EVERY = 10; // levels between the messages about the save file

void draw_centred(const char *text, int x, int y) {
    textout_centre_ex(buffer, font, text, x, y, makecol(255, 255, 255), -1);
}

} // namespace

void wait_for_key() {
    // Without a keyboard driver there is nothing to wait for.
    if (!keyboard_driver && !keypressed())
        return;
    forget_pad_presses();
    while (!keypressed()) {
        if (ending_requested())
            return;
        poll_gamepad();
        if (pad.pressed_button || pad.pressed_start)
            return;
        handle_display_keys();
        rest(5);
    }
    readkey();
}

void showwin() {
    const int cx = unit.width / 2;
    const int cy = unit.height / 2;

    draw_centred("Great!  Go on!", cx, cy);
    show_to_screen();
    delay2(1500);

    if (unit.level % MESSAGE_EVERY == 0) {
        draw_centred("Great!  Go on!", cx, cy);
        show_to_screen();
        delay2(1500);

        draw_centred("Please send your file \"save.dat\" to tarvellion@example.org", cx, cy);
        draw_centred("You will get a nice present if you do that!", cx, cy + LINE_HEIGHT);
        draw_centred("Maybe it is a new game that you would like very much!", cx,
                     cy + 2 * LINE_HEIGHT);
        show_to_screen();
        delay2(500);
        clear_keybuf();
        wait_for_key();
    }

    char line[32]; // room for "Level " and any 32-bit number
    std::snprintf(line, sizeof line, "Level %d", saturating_add(unit.level, 1));
    draw_centred(line, cx, cy);
    show_to_screen();
    delay2(2000);
    clear_keybuf();
    game_next();
}

void showlost() {
    const int cx = unit.width / 2;
    const int cy = unit.height / 2;
    if (blost)
        draw_sprite(buffer, blost, cx - blost->w / 2, cy - blost->h / 2);
    show_to_screen();
    delay2(2000);
    clear_keybuf();
    wait_for_key();
    record_high_score();
    game_initdata();
}
