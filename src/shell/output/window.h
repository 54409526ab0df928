// The game's window: the first graphics mode and the off-screen frame
// buffer. Start-up calls setvideo().
#pragma once

#include "../../ui/frame.h"

// Opens the run's first mode (display.h) for the driver code WINDOW_MODE and
// creates buffer (ui/frame.h). Returns false, with the reason shown by allegro_message,
// when the mode cannot be set or buffer not created: the game cannot run then.
bool setvideo();
