// Composing and presenting a frame. The main loop calls show_to_screen() and
// flash() at the start of each pass and put_bmp() after the rules; the screens
// between levels draw into buffer and present it with show_to_screen().
#pragma once

#include <string>

#include <allegro.h>

extern BITMAP *buffer; // the off-screen frame: the field, SW x SH

// While the menu's demo plays (shell/flow/attract.cpp) every frame says so:
// "Demo", or whose game from the world board it is; "" the rest of the time.
extern std::string demo_label;

// The pause key's name as the library spells it ("ENTER"); the shell keeps it
// to the player's binding. A game paused by it says that it goes on.
extern const char *pause_key_name;

// Composes the next frame into buffer: background, fruit, player, trains and
// shots, buttons, and the pointer while the menu is shown.
void put_bmp();

// Draws the status line over buffer (and, while the window has lost the
// focus or the player paused, a label saying the game is paused), presents buffer on the screen at
// the view's scale and clears it to the field's green.
void show_to_screen();

// Advances the animations every fifth pass of unit.timer and lets the buttons
// watch the mouse.
void flash();
