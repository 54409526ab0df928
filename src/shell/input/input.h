// Turning the keyboard, the mouse and the gamepad into the pass's input
// record (core/input_record.h). The main loop gathers it once at the start
// of every pass and lets the menu add the buttons pressed before the rules'
// input stage reads it.
#pragma once

// From now on every key press and left-button press is noted as the library
// reports it, so one pressed and let go between two passes still acts, once:
// a tap on a touchpad or a phone, a quick key. Start-up calls it once the
// keyboard and mouse are installed.
void watch_presses();

// Polls the gamepad and fills `input` from it and the keyboard: a key is down
// in this pass when it is held now or was pressed since the last pass.
void gather_input();

// A left-button press since the last call, let go or not; taken once. The
// Options screen, which reads the mouse between passes, asks for it itself.
bool take_left_press();

// Drops the keys typed meanwhile, from the key queue and from the presses
// noted: the waits that end so.
void drop_typed_keys();

// The menu's part: while the menu is shown, the arrows and the gamepad move
// its highlight and Enter or the pad's button presses the lit button; then
// the buttons' clicks, and the window's close button as End, go into `input`.
// Returns whether the Options button was pressed.
bool take_menu_input();

// Whether the player touches anything now: a key held or typed (the key
// queue is emptied), the pointer moved since the last call, a mouse button,
// the gamepad pushed or held as its last poll left it, the window's close
// button. Read by the attract mode in the menu and the demo, whatever the
// records.
bool player_active();

// After a wait that ended at a key, or the demo ended by one: whatever is
// still held is used up and acts again only once let go - but for steering,
// which steers at once.
void forget_pressed_keys();
