// Reading the gamepad; start_gamepad() is called by start-up (main.cpp),
// poll_gamepad() by the input stage and the screens that wait.
//
// The library's Linux driver makes a stick of every pair of axes, in the
// order the kernel numbers them: the left stick is the first, and a standard
// pad's d-pad (its hat, after the two sticks and the two triggers) the
// fourth. The sticks between hold the triggers, which rest at one end, so
// they are never read.
#include "gamepad.h"

#include "../files/bindings.h"

#include <allegro.h>

#include <cstdlib>
#include <initializer_list>

GAMEPAD pad;

namespace {

constexpr int FACE_BUTTONS = 4;
constexpr int STANDARD_PAD_BUTTONS = 11;
constexpr int BUTTONS_AFTER_START = 3; // the logo button and the two stick clicks
constexpr int DPAD_STICK = 3;

bool joystick_ready = false;
unsigned buttons_down = 0; // as the driver has them, held back or not
unsigned held_back = 0;    // down when a wait ended: not held until let go

struct Direction {
    bool left, right, up, down;
};

// The way a stick points most, as one arrow; a stick pushed exactly
// diagonally, as a d-pad's corner is, counts as the two arrows.
Direction pointing(const JOYSTICK_STICK_INFO &stick) {
    if (stick.num_axis < 2 || !(stick.flags & JOYFLAG_SIGNED))
        return {};
    const int x = stick.axis[0].pos;
    const int y = stick.axis[1].pos;
    const bool across = std::abs(x) > STICK_DEAD_ZONE && std::abs(x) >= std::abs(y);
    const bool along = std::abs(y) > STICK_DEAD_ZONE && std::abs(y) >= std::abs(x);
    return {across && x < 0, across && x > 0, along && y < 0, along && y > 0};
}

bool button_down(const JOYSTICK_INFO &j, int b) {
    return b >= 0 && b < j.num_buttons && b < MAX_JOYSTICK_BUTTONS && j.button[b].b;
}

bool button_in(unsigned buttons, int binding) {
    const int b = binding == PAD_MENU_BUTTON ? pad.menu_button : binding;
    return b >= 0 && b < PAD_BUTTONS && (buttons & (1u << b));
}

} // namespace

int menu_button(int buttons) {
    if (buttons >= STANDARD_PAD_BUTTONS)
        return buttons - 1 - BUTTONS_AFTER_START;
    if (buttons > FACE_BUTTONS)
        return FACE_BUTTONS;
    return buttons > 1 ? buttons - 1 : -1;
}

void start_gamepad() {
    joystick_ready = install_joystick(JOY_TYPE_AUTODETECT) == 0;
    pad = {};
}

void poll_gamepad() {
    const GAMEPAD before = pad;
    pad = {};
    pad.menu_button = -1;
    buttons_down = 0;
    if (num_joysticks < 1)
        return;
    if (joystick_ready)
        poll_joystick();
    const JOYSTICK_INFO &j = joy[0];
    Direction way{};
    const int sticks = j.num_sticks < MAX_JOYSTICK_STICKS ? j.num_sticks : MAX_JOYSTICK_STICKS;
    for (int s : {0, DPAD_STICK}) {
        if (s >= sticks)
            continue;
        const Direction d = pointing(j.stick[s]);
        way = {way.left || d.left, way.right || d.right, way.up || d.up, way.down || d.down};
    }
    pad.left = way.left;
    pad.right = way.right;
    pad.up = way.up;
    pad.down = way.down;
    for (int b = 0; b < PAD_BUTTONS; b++)
        if (button_down(j, b))
            buttons_down |= 1u << b;
    held_back &= buttons_down;
    pad.held_buttons = buttons_down & ~held_back;
    pad.pressed_buttons = pad.held_buttons & ~before.held_buttons;
    pad.menu_button = menu_button(j.num_buttons);
    pad.button = pad_button_held(PAD_CHOOSE_BUTTON);
    pad.start = pad_button_held(PAD_MENU_BUTTON);
    pad.pressed_up = pad.up && !before.up;
    pad.pressed_down = pad.down && !before.down;
    pad.pressed_left = pad.left && !before.left;
    pad.pressed_right = pad.right && !before.right;
    pad.pressed_button = pad_button_pressed(PAD_CHOOSE_BUTTON);
    pad.pressed_start = pad_button_pressed(PAD_MENU_BUTTON);
}

bool pad_button_held(int binding) {
    return button_in(pad.held_buttons, binding);
}

bool pad_button_pressed(int binding) {
    return button_in(pad.pressed_buttons, binding);
}

void forget_pad_presses() {
    poll_gamepad();
    pad.pressed_up = pad.pressed_down = pad.pressed_button = pad.pressed_start = false;
    pad.pressed_left = pad.pressed_right = false;
    pad.pressed_buttons = 0;
}

void hold_back_pad_buttons() {
    held_back = buttons_down;
    pad.held_buttons &= ~held_back;
    pad.button = pad.start = false;
}
