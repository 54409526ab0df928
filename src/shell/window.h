// The game's window: the graphics mode, the off-screen frame buffer and the
// window's close button. Start-up calls setvideo(); the key handling and the
// screens between levels ask whether the close button was pressed.
#pragma once

#include <allegro.h>

extern BITMAP *buffer; // the off-screen frame, of the screen's size

// Sets the colour depth and graphics mode from the tuning values and creates
// buffer. Returns false, with the reason shown by allegro_message, when the
// mode cannot be set or buffer not created: the game cannot run then.
bool setvideo();

// Whether the window's close button was pressed and not yet taken.
bool close_requested();

// Takes a pending press of the close button: true once per press.
bool take_close_request();
