// The high-score screens: the name entry and the table after a game over
// that entered the table, and the table drawn under the menu's buttons. The
// main loop's high-score screen (shell/flow/high_score_entry.cpp) types and draws
// through here; put_bmp() calls draw_menu_high_scores() while the menu is
// shown.
#pragma once

#include "../core/high_scores.h"

#include <allegro.h>

// A name being typed: the name offered stands until the first key that
// edits it.
struct NAME_ENTRY {
    char offered[PLAYER_NAME_MAX + 1];
    char typed[PLAYER_NAME_MAX + 1];
    bool edited;                    // false while the offered name stands untouched
    bool settled;                   // Enter or Esc has ended the typing
    char name[PLAYER_NAME_MAX + 1]; // the name taken, once settled
};

// Starts with `offered`, or "Player" when that cannot stand in the table.
void begin_name_entry(NAME_ENTRY &entry, const char *offered);

// Takes one key as readkey() gives it (scan code in the high byte, the
// character in the low one): a character from space to tilde is typed (the
// first one replaces the offered name), Backspace takes the last back, Enter
// takes what is typed without blanks at either end (the offered name when
// that leaves nothing), Esc takes the offered name.
void take_name_key(NAME_ENTRY &entry, int key);

// Takes the offered name: the gamepad's button, or an ending of the session.
void accept_offered_name(NAME_ENTRY &entry);

// Draws the table into `onto` with its top-left column at (left, top); the
// entry at `highlight` (-1 for none) stands out. Returns the rows drawn.
int draw_high_score_table(BITMAP *onto, int left, int top, int highlight);

// While the menu is shown: the table below the buttons, when it has entries.
void draw_menu_high_scores(BITMAP *onto);

// Draw into `onto` for the game that just ended (unit.score) at `place`:
// the name being typed, or the table with that entry lit, the reason it
// could not be written (an errno value, 0 for none) and "Press a key".
void draw_name_entry(BITMAP *onto, const NAME_ENTRY &entry, int place);
void draw_table_screen(BITMAP *onto, int place, int write_error);
