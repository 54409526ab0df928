// Gathering the player's input for the pass (flow/main_loop.cpp). The actions are
// read from key[] and the pad through the player's bindings (files/bindings.h); the
// menu's keys and the sound switch act once per press, so their state in the
// pass before is kept here.
#include "input.h"

#include "../files/bindings.h"
#include "../output/display.h"
#include "gamepad.h"
#include "../output/close_button.h"
#include "../files/options.h"
#include "../../core/input_record.h"
#include "../../core/player_control.h"
#include "../../core/random.h"
#include "../../ui/frame.h"
#include "../../ui/menu.h"
#include "../../ui/pictures.h"
#include "../../platform/platform.h"

#include <allegro.h>

#include <atomic>

namespace {

struct HeldKeys {
    bool up, down, enter, pause, sound;
};

HeldKeys held_before{};

// Pressed since the last pass, noted on the library's thread.
std::atomic<bool> key_pressed_since[KEY_MAX];
std::atomic<bool> left_pressed_since{false};
// This pass's keys: held now, or pressed since the last pass.
bool down[KEY_MAX];
// Held as the last pass found them: a press noted after that pass had seen
// the key held (a late report, a repeat) is that same press again.
bool seen_held[KEY_MAX];
bool left_seen_held = false;

void on_key_event(int scancode) {
    display_key_changed(scancode);
    if (!(scancode & 0x80))
        key_pressed_since[scancode & 0x7F] = true;
}

void on_mouse_event(int flags) {
    if (flags & MOUSE_FLAG_LEFT_DOWN)
        left_pressed_since = true;
}

void forget_presses_noted() {
    for (std::atomic<bool> &pressed : key_pressed_since)
        pressed = false;
    left_pressed_since = false;
}

// Keys that were down when a wait for a key ended, or when Enter pressed a
// menu button: the press is used up, so each acts again only once let go.
bool held_back[KEY_MAX];

// Enter with Alt switches the display; it neither pauses nor chooses.
bool steering_key_down(int scancode) {
    return down[scancode] && !(scancode == KEY_ENTER && alt_held());
}

bool key_down(int scancode) {
    return steering_key_down(scancode) && !held_back[scancode];
}

bool action_key_down(int action) {
    return key_down(bindings.keys[action]);
}

// A key held back from a wait steers all the same: the player held it to
// move on at once.
bool steering(int action) {
    return steering_key_down(bindings.keys[action]);
}

bool action_held(int action) {
    return action_key_down(action) || pad_button_held(bindings.pad_buttons[action]);
}

// The menus move with the arrows whatever the steering keys are.
HeldKeys held_now() {
    return {key_down(KEY_UP) || action_key_down(ACTION_UP),
            key_down(KEY_DOWN) || action_key_down(ACTION_DOWN), key_down(KEY_ENTER),
            action_held(ACTION_PAUSE), action_key_down(ACTION_SOUND)};
}

void hold_back_held_keys() {
    for (int k = 0; k < KEY_MAX; k++)
        held_back[k] = down[k] = key[k] != 0;
    hold_back_pad_buttons();
}

} // namespace

void watch_presses() {
    keyboard_lowlevel_callback = on_key_event;
    mouse_callback = on_mouse_event;
}

void gather_input() {
    poll_gamepad();
    for (int k = 0; k < KEY_MAX; k++) {
        held_back[k] = held_back[k] && key[k];
        const bool pressed = key_pressed_since[k].exchange(false);
        down[k] = key[k] || (pressed && !seen_held[k]);
        seen_held[k] = key[k];
    }
    left_button_pressed = take_left_press() && !left_seen_held;
    left_seen_held = mouse_b & 1;
    const HeldKeys now = held_now();
    input = INPUT_RECORD{};
    input.left = steering(ACTION_LEFT) || pad.left;
    input.right = steering(ACTION_RIGHT) || pad.right;
    input.up = steering(ACTION_UP) || pad.up;
    input.down = steering(ACTION_DOWN) || pad.down;
    // Esc and the pad's menu button are the menu's whatever the bindings.
    input.menu = key_down(KEY_ESC) || pad.start || action_held(ACTION_MENU);
    input.pause = now.pause;
    input.faster = action_held(ACTION_FASTER);
    input.slower = action_held(ACTION_SLOWER);
    input.more_lives = action_held(ACTION_MORE_LIVES);
    input.fewer_lives = action_held(ACTION_FEWER_LIVES);
    input.choose = (now.enter && !held_before.enter) || pad.pressed_button;
    input.menu_up = (now.up && !held_before.up) || pad.pressed_up;
    input.menu_down = (now.down && !held_before.down) || pad.pressed_down;
    input.mute =
        (now.sound && !held_before.sound) || pad_button_pressed(bindings.pad_buttons[ACTION_SOUND]);
    if (pad_button_pressed(bindings.pad_buttons[ACTION_FULLSCREEN]))
        ask_display_switch();
    input.away = window_away();
    held_before = now;
    pause_key_name = key_name(bindings.keys[ACTION_PAUSE]);
}

bool take_menu_input() {
    if (showmouse) {
        if (input.menu_up)
            move_highlight(-1);
        if (input.menu_down)
            move_highlight(1);
        // Enter or the pad's button held on into the game would pause it.
        if (input.choose && menu_highlight != NO_HIGHLIGHT) {
            press_highlighted();
            hold_back_held_keys();
            input.pause = false;
        }
    }
    input.start = bstart.Value();
    // The window's close button ends the game just as End does, saving it.
    const bool end_clicked = bend.Value();
    input.end = take_close_request() || end_clicked;
    input.resume = bresume.Value();
    // The daily challenge is a new game from the day's seed (UTC).
    if (bdaily.Value()) {
        next_game_seed = daily_seed(utc_day(wall_clock_us() / 1000000));
        input.start = true;
    }
    return boptions.Value();
}

bool player_active() {
    static int last_x = mouse_x, last_y = mouse_y;
    const bool moved = mouse_x != last_x || mouse_y != last_y;
    last_x = mouse_x;
    last_y = mouse_y;
    // Nothing else reads the key queue here: a key left in it would count as
    // the player's for ever.
    bool typed = false;
    while (keypressed()) {
        readkey();
        typed = true;
    }
    bool held = typed || mouse_b || left_button_pressed || close_requested();
    for (int k = 1; k < KEY_MAX && !held; k++)
        held = down[k];
    return moved || held || pad.left || pad.right || pad.up || pad.down || pad.button || pad.start;
}

bool take_left_press() {
    return left_pressed_since.exchange(false);
}

void drop_typed_keys() {
    clear_keybuf();
    forget_presses_noted();
}

void forget_pressed_keys() {
    forget_pad_presses();
    forget_presses_noted();
    hold_back_held_keys();
    held_before = held_now();
    input = INPUT_RECORD{};
}
