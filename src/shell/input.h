// What the player asks for in a pass, from the keyboard and the gamepad
// together. The input stage (player_control.cpp) gathers it once at the start
// of every pass and asks here instead of reading key[] for the commands the
// gamepad shares; the steering asks when it steers, after the commands' waits.
#pragma once

struct PLAYER_INPUT {
    bool menu;      // Esc or the gamepad's menu button held: show the menu
    bool pause;     // Enter or the gamepad's button held, not still held from a menu press
    bool choose;    // Enter or the gamepad's button newly pressed: presses the lit menu button
    bool menu_up;   // the Up arrow or the gamepad's up newly pressed
    bool menu_down; // the Down arrow or the gamepad's down newly pressed
    bool mute;      // M newly pressed
};

extern PLAYER_INPUT input;

// Polls the gamepad and works out `input` from it and the keyboard.
void gather_input();

// A press of Enter or the gamepad's button that pressed a menu button: held
// on into the game it would pause it, so it counts again only once let go.
void hold_back_pause();

// After a screen that waited for keys: whatever is still held counts as
// pressed only once it has been let go.
void forget_pressed_keys();

// The steering directions, arrows and gamepad alike.
bool asks_left();
bool asks_right();
bool asks_up();
bool asks_down();
