// The input stage of every pass, on the pass's input record: the keyboard
// commands, the menu's buttons, and the player's movement and steering.
#pragma once

extern bool showmouse;    // true while the menu is shown: the rules stand still
extern bool focus_paused; // true while they stand still only for a window away

// Shows (true) or hides (false) the menu, pausing or resuming the game with it.
void show_menu(bool b);

// The input stage on `input` (input_record.h) in its two halves, with the
// Start button's new game between them (pass.h's take_input()). First the
// commands: the rules stand still while the window is away and go on when it
// comes back, unless the game had been paused by hand; the speed and lives
// keys and the pause are reported in `events`, the keys rest a moment after
// each.
void take_commands();

// Then the menu's buttons and the player's step.
void take_buttons_and_move();
