// The high-score screen after a game over, as states of the main loop: when
// the game's score (unit.score) enters the kept table, the name is typed,
// the game entered and the file written, then the table shows until a key
// is pressed. A signal or the close button ends the typing and the waiting
// at once; the game still enters under the offered name then.
#pragma once

// Starts the screen; false when the game does not enter the table (or no
// table is kept), and there is nothing to show.
bool begin_high_score_entry();

// One pass of the screen. Returns how long the main loop is to sleep before
// the next, or 0 once the screen is over.
double high_score_entry_step();
