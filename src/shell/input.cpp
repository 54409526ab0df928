// Gathering the player's input for the pass (main_loop.cpp). The actions are
// read from key[] and the pad through the player's bindings (bindings.h); the
// menu's keys and the sound switch act once per press, so their state in the
// pass before is kept here.
#include "input.h"

#include "bindings.h"
#include "display.h"
#include "gamepad.h"
#include "close_button.h"
#include "options.h"
#include "options_entry.h"
#include "../core/input_record.h"
#include "../core/player_control.h"
#include "../ui/menu.h"
#include "../ui/pictures.h"

#include <allegro.h>

namespace {

struct HeldKeys {
    bool up, down, enter, pause, sound;
};

HeldKeys held_before{};
bool pause_held_back = false;

// Enter with Alt switches the display; it neither pauses nor chooses.
bool key_down(int scancode) {
    return key[scancode] && !(scancode == KEY_ENTER && alt_held());
}

bool action_key_down(int action) {
    return key_down(options.keys[action]);
}

bool action_held(int action) {
    return action_key_down(action) || pad_button_held(options.pad_buttons[action]);
}

// The menus move with the arrows whatever the steering keys are.
HeldKeys held_now() {
    return {key[KEY_UP] || action_key_down(ACTION_UP),
            key[KEY_DOWN] || action_key_down(ACTION_DOWN), key_down(KEY_ENTER),
            action_held(ACTION_PAUSE), action_key_down(ACTION_SOUND)};
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
    if (!now.pause)
        pause_held_back = false;
    input = INPUT_RECORD{};
    input.left = action_key_down(ACTION_LEFT) || pad.left;
    input.right = action_key_down(ACTION_RIGHT) || pad.right;
    input.up = action_key_down(ACTION_UP) || pad.up;
    input.down = action_key_down(ACTION_DOWN) || pad.down;
    // Esc and the pad's menu button are the menu's whatever the bindings.
    input.menu = key[KEY_ESC] || pad.start || action_held(ACTION_MENU);
    input.pause = now.pause && !pause_held_back;
    input.faster = action_held(ACTION_FASTER);
    input.slower = action_held(ACTION_SLOWER);
    input.more_lives = action_held(ACTION_MORE_LIVES);
    input.fewer_lives = action_held(ACTION_FEWER_LIVES);
    input.choose = (now.enter && !held_before.enter) || pad.pressed_button;
    input.menu_up = (now.up && !held_before.up) || pad.pressed_up;
    input.menu_down = (now.down && !held_before.down) || pad.pressed_down;
    input.mute =
        (now.sound && !held_before.sound) || pad_button_pressed(options.pad_buttons[ACTION_SOUND]);
    if (pad_button_pressed(options.pad_buttons[ACTION_FULLSCREEN]))
        ask_display_switch();
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
    if (boptions.Value())
        open_options_screen();
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
    pause_held_back = held_before.pause;
    input = INPUT_RECORD{};
}
