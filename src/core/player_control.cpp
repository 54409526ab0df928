// Player control and keyboard commands, called once per pass by the main loop
// after the frame is composed.
#include "player_control.h"

#include "events.h"
#include "game_state.h"
#include "input_record.h"

INPUT_RECORD input;
bool showmouse = false;
bool focus_paused = false;

namespace {

constexpr int PLAYER_MARGIN = 48; // the player's centre stays this far from the edges
constexpr int DELAY_STEP = 5;
constexpr int FASTEST_DELAY = 5;
constexpr int SLOWEST_DELAY = 100;

void follow_focus() {
    if (input.away) {
        if (unit.pause == 0) {
            unit.pause = 1;
            focus_paused = true;
        }
    } else if (focus_paused) {
        focus_paused = false;
        if (!showmouse)
            unit.pause = 0;
    }
}

void keyboard_commands() {
    if (input.menu)
        show_menu(true);
    // Before any game exists the rules have no field to run on; while the
    // menu is shown Enter works the menu.
    if (!showmouse && input.pause && unit.fruitmax != 0) {
        unit.pause = unit.pause ? 0 : 1;
        events.paused_by_key = true;
    }
    if (input.faster) {
        if (DELAY > FASTEST_DELAY)
            DELAY -= DELAY_STEP;
        events.commands++;
    }
    if (input.slower) {
        if (DELAY < SLOWEST_DELAY)
            DELAY += DELAY_STEP;
        events.commands++;
    }
    if (input.more_lives) {
        player.live = saturating_add(player.live, 1);
        events.commands++;
    }
    if (input.fewer_lives) {
        player.live = saturating_add(player.live, -1);
        events.commands++;
    }
}

// The buttons after Start's new game (pass.cpp begins it): Continue before
// any game exists has had the saved game loaded by the shell, which owns the
// file, before this stage.
void menu_buttons() {
    if (input.start)
        show_menu(false);
    if (input.end) {
        unit.end = 1;
        show_menu(false);
    }
    if (input.resume) {
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
    if (input.left) {
        player.fw = FW_LEFT;
        keyed = 1;
    } else if (input.right) {
        player.fw = FW_RIGHT;
        keyed = 1;
    } else if (input.up) {
        player.fw = FW_UP;
        keyed = 1;
    } else if (input.down) {
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

void show_menu(bool b) {
    unit.pause = b ? 1 : 0;
    showmouse = b;
}

void take_commands() {
    follow_focus();
    keyboard_commands();
}

void take_buttons_and_move() {
    menu_buttons();
    if (unit.pause)
        return;
    move_player();
    steer_player();
}
