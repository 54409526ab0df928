// The game without a display, for the benchmarks: the library brought up with
// no system driver, a memory bitmap standing in for the screen, the game's
// own data files loaded, and a game in progress placed on the field.
#pragma once

// Gives the game a screen and buffer of this size and depth and loads the
// data files at that depth, as start-up does. The first call brings the
// library up.
void use_headless_screen(int width, int height, int depth);

// The same with the screen scale times the field's size, as a window at that
// scale has it, and the view set to match.
void use_scaled_screen(int field_w, int field_h, int depth, int scale);

// A game in progress on the whole screen: the given number of fruit, none
// touching the player, who stands in the middle with lives enough never to
// end the game; the trains at their start; all four shots in flight, away from
// the player. The menu is hidden. The same numbers every call.
void place_game(int fruit_count);

// Sets the four shots in flight again where place_game put them.
void relaunch_shots();
