// Gathering the player's input for the pass (main_loop.cpp). The commands
// are read from key[] as the game always did; the menu's keys and M act once
// per press, so their state in the pass before is kept here.
#include "input.h"

#include "display.h"
#include "gamepad.h"
#include "close_button.h"
#include "../core/input_record.h"
#include "../core/player_control.h"
#include "../ui/menu.h"
#include "../ui/pictures.h"

#include <allegro.h>

namespace {

struct HeldKeys {
    bool up, down, enter, m;
};

HeldKeys held_before{};
bool pause_held_back = false;

HeldKeys held_now() {
    // Enter with Alt switches the display; it neither pauses nor chooses.
    return {key[KEY_UP] != 0, key[KEY_DOWN] != 0, key[KEY_ENTER] && !alt_held(), key[KEY_M] != 0};
}

// A press of Enter or the gamepad's button that pressed a menu button: held
// on into the game it would pause it, so it counts again only once let go.
void hold_back_pause() {
    pause_held_back = true;
    input.pause = false;
}

} // namespace

void gather_input() {
    poll_gamepad();
    const HeldKeys now = held_now();
    const bool pause_held = now.enter || pad.button;
    if (!pause_held)
        pause_held_back = false;
    input = INPUT_RECORD{};
    input.left = key[KEY_LEFT] || pad.left;
    input.right = key[KEY_RIGHT] || pad.right;
    input.up = key[KEY_UP] || pad.up;
    input.down = key[KEY_DOWN] || pad.down;
    input.menu = key[KEY_ESC] || pad.start;
    input.pause = pause_held && !pause_held_back;
    input.faster = key[KEY_MINUS];
    input.slower = key[KEY_EQUALS];
    input.more_lives = key[KEY_HOME];
    input.fewer_lives = key[KEY_END];
    input.choose = (now.enter && !held_before.enter) || pad.pressed_button;
    input.menu_up = (now.up && !held_before.up) || pad.pressed_up;
    input.menu_down = (now.down && !held_before.down) || pad.pressed_down;
    input.mute = now.m && !held_before.m;
    input.away = window_away();
    held_before = now;
}

void take_menu_input() {
    if (showmouse) {
        if (input.menu_up)
            move_highlight(-1);
        if (input.menu_down)
            move_highlight(1);
        if (input.choose && menu_highlight != NO_HIGHLIGHT) {
            press_highlighted();
            hold_back_pause();
        }
    }
    input.start = bstart.Value();
    // The window's close button ends the game just as End does, saving it.
    const bool end_clicked = bend.Value();
    input.end = take_close_request() || end_clicked;
    input.resume = bresume.Value();
}

bool player_active() {
    static int last_x = mouse_x, last_y = mouse_y;
    const bool moved = mouse_x != last_x || mouse_y != last_y;
    last_x = mouse_x;
    last_y = mouse_y;
    bool held = keypressed() || mouse_b || close_requested();
    for (int k = 1; k < KEY_MAX && !held; k++)
        held = key[k] != 0;
    return moved || held || pad.left || pad.right || pad.up || pad.down || pad.button || pad.start;
}

void forget_pressed_keys() {
    held_before = held_now();
    forget_pad_presses();
    pause_held_back = held_before.enter || pad.button;
    input = INPUT_RECORD{};
}
