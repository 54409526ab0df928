// The screens between levels, run by iswin() inside a pass of the main loop:
// each presents its texts or picture, waits, and sets up what comes next.
#pragma once

// Level cleared: "Great!  Go on!", after every tenth level a message that
// waits for a key, then the next level's number; ends with game_next().
void showwin();

// Game over: the game-over picture until a key is pressed, then, for a score
// that enters the high-score table, the name and the table; ends with
// game_initdata().
void showlost();

// Waits until a key or the gamepad's button is pressed (the key itself is not
// used) or the session is ending (the window's close button, a signal).
void wait_for_key();
