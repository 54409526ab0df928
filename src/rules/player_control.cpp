// Player control and keyboard commands, called once per pass by the main loop
// after the frame is composed.
#include "player_control.h"

#include "level_setup.h"
#include "save_file.h"
#include "../shell/assets.h"
#include "../shell/game_state.h"
#include "../shell/input.h"
#include "../shell/mute.h"
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

// While the menu is shown, Enter and the arrows work the menu, and the button
// Enter presses is acted on with the clicks below.
void menu_keys() {
    if (input.menu_up)
        move_highlight(-1);
    if (input.menu_down)
        move_highlight(1);
    if (input.choose && menu_highlight != NO_HIGHLIGHT) {
        press_highlighted();
        hold_back_pause();
    }
}

void keyboard_commands() {
    if (input.menu)
        show_menu(true);
    if (showmouse)
        menu_keys();
    // Before any game exists the rules have no field to run on.
    else if (input.pause && unit.fruitmax != 0) {
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
    if (input.mute)
        switch_mute();
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
    if (asks_left()) {
        player.fw = FW_LEFT;
        keyed = 1;
    } else if (asks_right()) {
        player.fw = FW_RIGHT;
        keyed = 1;
    } else if (asks_up()) {
        player.fw = FW_UP;
        keyed = 1;
    } else if (asks_down()) {
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
    gather_input();
    keyboard_commands();
    menu_buttons();
    if (unit.pause)
        return;
    move_player();
    steer_player();
}
