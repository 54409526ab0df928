// The window's close button: it ends the game just as End does, saving it.
// The display module hands it to the library after every mode change; the
// input stage and the waits ask whether it was pressed.
#pragma once

// Hands the window's close button to close_requested().
void watch_close_button();

// Whether the window's close button was pressed and not yet taken.
bool close_requested();

// Takes a pending press of the close button: true once per press.
bool take_close_request();
