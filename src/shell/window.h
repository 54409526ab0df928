// The game's window: the first graphics mode, the off-screen frame buffer and
// the window's close button. Start-up calls setvideo(); the key handling and
// the screens between levels ask whether the close button was pressed.
#pragma once

#include <allegro.h>

extern BITMAP *buffer; // the off-screen frame: the field, SW x SH

// Opens the run's first mode (display.h) for the driver code WINDOW_MODE and
// creates buffer. Returns false, with the reason shown by allegro_message,
// when the mode cannot be set or buffer not created: the game cannot run then.
bool setvideo();

// Hands the window's close button to close_requested(); the display module
// calls it again after every mode change.
void watch_close_button();

// Whether the window's close button was pressed and not yet taken.
bool close_requested();

// Takes a pending press of the close button: true once per press.
bool take_close_request();
