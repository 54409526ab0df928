// The start menu: the Continue, Start and End buttons and the mouse pointer,
// shown at start-up and on Esc, hidden by a click on any of its buttons.
#pragma once

extern bool showmouse; // true while the menu shows the pointer picture

// Shows (true) or hides (false) the menu, pausing or resuming the game with it.
void show_menu(bool b);
