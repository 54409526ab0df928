// The ways a session ends besides the End button, each of which must still
// save the game: a signal (logout, Ctrl+C, kill), the window's close button,
// and the display or session going away under the game. Start-up calls
// watch_endings(); the main loop and every wait ask ending_requested().
#pragma once

// From now on SIGTERM, SIGHUP and SIGINT only mark the session as ending, and
// a lost X connection (or the end of a Windows session) writes the latest
// snapshot of the game (save_file.h) and ends the program at once. Called
// after the library has installed its own signal handlers, to replace them.
void watch_endings();

// Whether a signal has asked the game to end.
bool ended_by_signal();

// Whether a signal, the window's close button or a display that could not be
// set again asks the game to end: the waits and the key waits stop waiting,
// so the game is saved at once.
bool ending_requested();
