// The save file's image of a game: the game records as 2484 bytes of
// little-endian 32-bit integers, and whether a game read from one can be
// played. The save store (shell/files/save_file.h) reads and writes the file.
#pragma once

#include "game_state.h"

#include <cstddef>

constexpr std::size_t SAVE_FILE_SIZE = 2484;

// Everything the save file holds, in file order.
struct SavedGame {
    GAME_UNIT unit;
    _PLAYER player;
    _TRAIN train[TRAIN_COUNT];
    _fire fire[TRAIN_COUNT];
    _fruit fruit[FRUIT_TABLE_SIZE];
};

// The records as they stand, and the records set to a game.
SavedGame records_now();
void restore_records(const SavedGame &game);

// The file image of a game and back; decoding needs exactly SAVE_FILE_SIZE bytes.
void encode_save(const SavedGame &game, unsigned char *bytes);
void decode_save(const unsigned char *bytes, SavedGame &game);

// Whether the game can run on what a file holds: sizes, counts, directions,
// speeds and positions within what the rules can handle.
bool save_is_playable(const SavedGame &game);
