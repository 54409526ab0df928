// Gathering the player's input for the input stage (player_control.cpp).
// The keyboard's commands are read from key[] as the game always did; the
// menu's keys and M act once per press, so their state in the pass before is
// kept here.
#include "input.h"

#include "display.h"
#include "gamepad.h"

#include <allegro.h>

PLAYER_INPUT input;

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

} // namespace

void gather_input() {
    poll_gamepad();
    const HeldKeys now = held_now();
    const bool pause_held = now.enter || pad.button;
    if (!pause_held)
        pause_held_back = false;
    input.menu = key[KEY_ESC] || pad.start;
    input.pause = pause_held && !pause_held_back;
    input.choose = (now.enter && !held_before.enter) || pad.pressed_button;
    input.menu_up = (now.up && !held_before.up) || pad.pressed_up;
    input.menu_down = (now.down && !held_before.down) || pad.pressed_down;
    input.mute = now.m && !held_before.m;
    held_before = now;
}

void hold_back_pause() {
    pause_held_back = true;
    input.pause = false;
}

void forget_pressed_keys() {
    held_before = held_now();
    forget_pad_presses();
    pause_held_back = held_before.enter || pad.button;
    input = PLAYER_INPUT{};
}

bool asks_left() {
    return key[KEY_LEFT] || pad.left;
}

bool asks_right() {
    return key[KEY_RIGHT] || pad.right;
}

bool asks_up() {
    return key[KEY_UP] || pad.up;
}

bool asks_down() {
    return key[KEY_DOWN] || pad.down;
}
