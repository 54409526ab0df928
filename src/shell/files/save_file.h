// The save file "save.dat" in the player's directory, which holds the
// image of save_codec.h. game_save() runs at shutdown, save_level_start() at
// the start of every level, write_snapshot() when the session ends under the
// game, game_load() when Continue is chosen before any game exists in the run.
#pragma once

#include "../../core/save_codec.h"

extern const char *const SAVE_FILE_NAME;

// Writes the game in progress, if there is one, without ever destroying the
// previous save: a new file is written beside it and renamed over it. A
// failure is shown with allegro_message and leaves the old file as it was.
// Returns false only when a game was there to save and could not be saved.
bool game_save();

// Keeps the file image of the game in progress, if there is one, with end 1
// and pause 0 as End would leave them; main() calls it after every pass.
// write_snapshot() writes the latest image kept, as game_save() writes, and
// may run on any thread while the main loop goes on (a lost X connection
// calls it from the library's thread). Returns 0 or an errno value; 0 when no
// game was kept. Neither shows anything.
void keep_snapshot();
int write_snapshot();

// Whether save_level_start() writes the game at the start of each level: the
// game turns it on at start-up; tests and tools leave it off.
void save_at_each_level_start(bool on);
// Called by the main loop once a level is laid out. A failure is not shown.
void save_level_start();

// Whether the save file holds a game that game_load() can take up.
bool saved_game_playable();

// Loads the saved game and gives it a seed of its own; the pause stays as the
// menu set it, and the caller starts the music. A file that is missing,
// unreadable, of the wrong size or not playable starts a new game instead and
// is left as it is.
void game_load();
