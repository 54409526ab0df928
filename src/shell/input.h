// Turning the keyboard, the mouse and the gamepad into the pass's input
// record (core/input_record.h). The main loop gathers it once at the start
// of every pass and lets the menu add the buttons pressed before the rules'
// input stage reads it.
#pragma once

// Polls the gamepad and fills `input` from it and the keyboard.
void gather_input();

// The menu's part: while the menu is shown, the arrows and the gamepad move
// its highlight and Enter or the pad's button presses the lit button; then
// the buttons' clicks, and the window's close button as End, go into `input`.
void take_menu_input();

// Whether the player touches anything now: a key held or typed, the pointer
// moved since the last call, a mouse button, the gamepad pushed or held as
// its last poll left it, the window's close button. Read by the attract
// mode, whatever the records.
bool player_active();

// After a screen that waited for keys: whatever is still held counts as
// pressed only once it has been let go.
void forget_pressed_keys();
