// The stages of a pass; called by main() for every pass of the game.
//
// Every collision and line-up test sees the player where the previous pass
// left it, and the screen always shows the frame composed in the previous
// pass: the player moves last, after the frame is composed.
#include "main_loop.h"

#include "display.h"
#include "game_state.h"
#include "../rules/collisions.h"
#include "../rules/player_control.h"
#include "../rules/trains.h"
#include "../ui/frame.h"

#include <cstdint>

void run_pass() {
    show_to_screen();
    flash();
    if (unit.pause == 0) {
        eat_apple();
        hit_fire();
        move_fire();
        move_train();
        iswin();
        // Wraps rather than overflows on a timer a save brought to its limit.
        unit.timer = static_cast<int32_t>(static_cast<uint32_t>(unit.timer) + 1u);
    }
    put_bmp();
    handle_display_events();
    do_key_work();
}
