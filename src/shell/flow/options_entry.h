// The Options screen as a state of the main loop: the Options button opens
// it over the menu, and while it is open each pass is one step of it. Every
// change is applied and kept in options.ini at once.
#pragma once

// Opens the screen with its first row lit; the keys held now count only once
// let go.
void open_options_screen();

bool options_screen_open();

// One step: reads the keys, the pointer and the pad, applies what they ask,
// draws the screen. Returns how long to wait before the next step. Closes
// the screen on Back or Esc, and when the game is asked to end.
double options_entry_step();
