// The save file "save.dat": the game records as 2484 bytes of little-endian
// 32-bit integers. game_save() runs at shutdown, game_load() when Continue is
// chosen before any game exists in the run.
#pragma once

#include "../shell/game_state.h"

#include <cstddef>

constexpr std::size_t SAVE_FILE_SIZE = 2484;
extern const char *const SAVE_FILE_NAME;

// Everything the save file holds, in file order.
struct SavedGame {
    GAME_UNIT unit;
    _PLAYER player;
    _TRAIN train[TRAIN_COUNT];
    _fire fire[TRAIN_COUNT];
    _fruit fruit[FRUIT_TABLE_SIZE];
};

// The file image of a game and back; decoding needs exactly SAVE_FILE_SIZE bytes.
void encode_save(const SavedGame &game, unsigned char *bytes);
void decode_save(const unsigned char *bytes, SavedGame &game);

// Whether the game can run on what a file holds: sizes, counts, directions,
// speeds and positions within what the rules can handle.
bool save_is_playable(const SavedGame &game);

// Writes the game in progress, if there is one, without ever destroying the
// previous save: a new file is written beside it and renamed over it. A
// failure is shown with allegro_message and leaves the old file as it was.
// Returns false only when a game was there to save and could not be saved.
bool game_save();

// Loads the saved game and restarts the music. A file that is missing,
// unreadable, of the wrong size or not playable starts a new game instead and
// is left as it is.
void game_load();
