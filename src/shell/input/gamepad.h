// The first gamepad or joystick the library finds, read once per pass into
// `pad`: which way the d-pad or the left stick points, the two buttons the
// menus use, and every button for the player's bindings (files/bindings.h).
// Start-up calls start_gamepad(); the input stage (input.cpp) polls it every
// pass, the screens that wait for a key while they wait.
#pragma once

struct GAMEPAD {
    bool left, right, up, down; // the d-pad or the left stick, past the dead zone
    bool button;                // the first button: presses and accepts in the menus
    bool start;                 // the pad's own menu button
    // Newly down since the poll before: the menu and the screens act once
    // per press, not once per pass.
    bool pressed_up, pressed_down, pressed_button, pressed_start;
    bool pressed_left, pressed_right;
    // Every button, bit N for button N (up to PAD_BUTTONS, bindings.h): held
    // now, and newly down since the poll before.
    unsigned held_buttons, pressed_buttons;
    int menu_button; // the pad's own menu button, or -1 for none
};

extern GAMEPAD pad; // all false without a gamepad

// A stick counts as pushed once it is this far from the middle, of the
// library's 128.
constexpr int STICK_DEAD_ZONE = 48;

// The pause button is the first one (A, or the cross on PlayStation pads).
// Pads of 11 buttons or more are numbered as the kernel lays out a standard
// pad, which ends with Start, the logo button and the two stick clicks: the
// menu button is the fourth from the end (Start on Xbox, Options on
// PlayStation pads). On smaller pads it is the button after the four face
// buttons, or the last one where there is none. -1: no menu button.
int menu_button(int buttons);

// Asks the library for a joystick. None, or one it cannot open, leaves the
// game as it is: `pad` stays all false, silently.
void start_gamepad();

// Reads the first joystick into `pad`, as the driver left it in joy[0].
void poll_gamepad();

// Whether a binding's button (a number, NO_PAD_BUTTON or PAD_MENU_BUTTON,
// bindings.h) is held now, or was newly pressed.
bool pad_button_held(int binding);
bool pad_button_pressed(int binding);

// Forgets the presses so far: what is held now counts as pressed only once
// it has been let go and pressed again. For the waits after the screens.
void forget_pad_presses();

// The buttons down now count as up until let go: their press was used up
// by a wait or a menu that ended at it.
void hold_back_pad_buttons();
