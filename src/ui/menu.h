// The start menu on the screen: the Continue, Start, End, Options and Daily buttons and the
// mouse pointer, shown while the rules say the menu is up (showmouse,
// core/player_control.h). One of the buttons may be lit: the keyboard's
// choice as the menu comes up, the one under the pointer, or the one the
// arrow keys or the gamepad moved the highlight to, whichever moved last.
#pragma once

#include "../core/player_control.h"

// The lit button, top to bottom: Continue, Start, End, Options, Daily; NO_HIGHLIGHT
// for none.
enum {
    HIGHLIGHT_CONTINUE = 0,
    HIGHLIGHT_START = 1,
    HIGHLIGHT_END = 2,
    HIGHLIGHT_OPTIONS = 3,
    HIGHLIGHT_DAILY = 4,
    NO_HIGHLIGHT = -1
};
extern int menu_highlight;

// Whether Continue has a saved game to load before any game of the run
// exists; start-up sets it from the save file.
extern bool saved_game_waiting;

// Shows or hides the buttons as showmouse now says; called after the input
// stage and at start-up. A menu that comes up lights Continue when there is a
// game to go on with, else Start.
void follow_menu();

// Called every pass by flash(): a pointer that moved lights the button it is
// now over, or none when it is over none.
void follow_pointer();

// Moves the highlight one button down (1) or up (-1), round from the last
// to the first; from none, down lights the top button and up the bottom one.
void move_highlight(int step);

// Lights the button (or NO_HIGHLIGHT for none), as the keys left it.
void light_button(int which);

// Presses the lit button, as a click on it would; nothing when none is lit.
void press_highlighted();
