// The outcome of each pass and the screens between levels as the rules
// decide them: which screen follows which and what the end of each sets up.
// iswin() shows the first; the main loop shows each for as long as it lasts
// (its time, a key, a name) and then calls screen_done(), until
// between_levels is BETWEEN_NONE again and the pass they interrupted goes on.
#pragma once

enum {
    BETWEEN_NONE,       // no screen: the game is on the field
    SCREEN_GREAT,       // "Great!  Go on!"
    SCREEN_GREAT_AGAIN, // the same again after every tenth level
    SCREEN_SEND_SAVE,   // after it, the message about the save file, until a key
    SCREEN_NEXT_LEVEL,  // "Level N", then the next level is laid out
    SCREEN_LOST,        // the game-over picture, until a key
    SCREEN_HIGH_SCORE,  // the name and the table, for a score that enters it
};

extern int between_levels; // the screen showing, BETWEEN_NONE for none

// Levels between the messages about the save file.
constexpr int MESSAGE_EVERY = 10;

void show_screen(int screen);

// The screen showing has ended: the next one shows, or the level or game it
// leads to is set up and the checks after it run (collisions.h).
void screen_done();

// Level cleared, game over, extra life - in that order, each on what the one
// before left. A cleared level or a lost game shows its screens first: the
// checks after it run once they are over.
void iswin();

// The checks after a cleared level: game over, then the extra life.
void check_lives();

// An extra life once the score reaches the mark, which then moves on.
void check_extra_life();
