// Save files made for the window tests: a game as a fresh Start leaves it,
// to be changed field by field before the game is given it, and the bytes
// the game writes read back into records.
#pragma once

#include "real_window.h"
#include "rules/save_file.h"

namespace window_test {

// Level 1 of a new game on the 640 x 480 field: 3 lives, the player in the
// middle, the trains at their corners, 12 fruit in a row across y = 100.
SavedGame started_game();

Bytes save_bytes(const SavedGame &game);
// Throws unless the bytes are a whole save file.
SavedGame decoded(const Bytes &bytes);

} // namespace window_test
