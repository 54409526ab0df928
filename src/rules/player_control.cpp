// Player control and keyboard commands, called once per pass by the main loop
// after the frame is composed.
#include "player_control.h"

#include "level_setup.h"
#include "save_file.h"
#include "../shell/assets.h"
#include "../shell/game_state.h"
#include "../shell/waits.h"
#include "../shell/window.h"
#include "../ui/menu.h"

#include <allegro.h>

namespace {

constexpr int PLAYER_MARGIN = 48; // the player's centre stays this far from the edges
constexpr int DELAY_STEP = 5;
constexpr int FASTEST_DELAY = 5;
constexpr int SLOWEST_DELAY = 100;
constexpr int PAUSE_KEY_WAIT = 500;
constexpr int COMMAND_WAIT = 100;

void keyboard_commands() {
    if (key[KEY_ESC])
        show_menu(true);
    // Before any game exists the rules have no field to run on.
    if (key[KEY_ENTER] && unit.fruitmax != 0) {
        unit.pause = unit.pause ? 0 : 1;
        delay(PAUSE_KEY_WAIT);
        clear_keybuf();
    }
    if (key[KEY_MINUS]) {
        if (DELAY > FASTEST_DELAY)
            DELAY -= DELAY_STEP;
        delay2(COMMAND_WAIT);
        clear_keybuf();
    }
    if (key[KEY_EQUALS]) {
        if (DELAY < SLOWEST_DELAY)
            DELAY += DELAY_STEP;
        delay2(COMMAND_WAIT);
        clear_keybuf();
    }
    if (key[KEY_HOME]) {
        player.live = saturating_add(player.live, 1);
        delay2(COMMAND_WAIT);
        clear_keybuf();
    }
    if (key[KEY_END]) {
        player.live = saturating_add(player.live, -1);
        delay2(COMMAND_WAIT);
        clear_keybuf();
    }
}

void menu_buttons() {
    if (bstart.Value()) {
        game_initdata();
        show_menu(false);
    }
    // The window's close button ends the game just as End does, saving it.
    const bool end_clicked = bend.Value();
    if (take_close_request() || end_clicked) {
        unit.end = 1;
        show_menu(false);
    }
    if (bresume.Value()) {
        if (unit.fruitmax == 0)
            game_load();
        unit.pause = 0;
        show_menu(false);
    }
}

// The margin is tested before the step, so a step may carry the centre past
// it by up to speed2 - 1 pixels.
void move_player() {
    switch (player.fw) {
    case FW_LEFT:
        if (player.pos.x > PLAYER_MARGIN)
            player.pos.x -= player.speed2;
        break;
    case FW_RIGHT:
        if (player.pos.x < unit.width - PLAYER_MARGIN)
            player.pos.x += player.speed2;
        break;
    case FW_UP:
        if (player.pos.y > PLAYER_MARGIN)
            player.pos.y -= player.speed2;
        break;
    case FW_DOWN:
        if (player.pos.y < unit.height - PLAYER_MARGIN)
            player.pos.y += player.speed2;
        break;
    }
}

void steer_player() {
    int keyed = 0;
    if (key[KEY_LEFT]) {
        player.fw = FW_LEFT;
        keyed = 1;
    } else if (key[KEY_RIGHT]) {
        player.fw = FW_RIGHT;
        keyed = 1;
    } else if (key[KEY_UP]) {
        player.fw = FW_UP;
        keyed = 1;
    } else if (key[KEY_DOWN]) {
        player.fw = FW_DOWN;
        keyed = 1;
    }
    if (keyed) {
        if (player.speed2 < player.speedmax)
            player.speed2 += 1;
    } else if (player.speed2 > 0) {
        player.speed2 -= 1;
    }
}

} // namespace

void do_key_work() {
    keyboard_commands();
    menu_buttons();
    if (unit.pause)
        return;
    move_player();
    steer_player();
}
