// The start menu: the Continue, Start and End buttons and the mouse pointer,
// shown at start-up and on Esc, hidden by a click on any of its buttons. One
// of the buttons may be lit: the one under the pointer, or the one the arrow
// keys or the gamepad moved the highlight to, whichever moved last.
#pragma once

extern bool showmouse; // true while the menu shows the pointer picture

// The lit button, top to bottom: Continue, Start, End; NO_HIGHLIGHT for none.
enum { HIGHLIGHT_CONTINUE = 0, HIGHLIGHT_START = 1, HIGHLIGHT_END = 2, NO_HIGHLIGHT = -1 };
extern int menu_highlight;

// Shows (true) or hides (false) the menu, pausing or resuming the game with
// it. A menu that comes up lights the button under the pointer, if any.
void show_menu(bool b);

// Called every pass by flash(): a pointer that moved lights the button it is
// now over, or none when it is over none.
void follow_pointer();

// Moves the highlight one button down (1) or up (-1), round from the last
// to the first; from none, down lights the top button and up the bottom one.
void move_highlight(int step);

// Presses the lit button, as a click on it would; nothing when none is lit.
void press_highlighted();
