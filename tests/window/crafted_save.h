// Save files made for the window tests: a game as a fresh Start leaves it,
// to be changed field by field before the game is given it, and the bytes
// the game writes read back into records.
#pragma once

#include "real_window.h"
#include "shell/files/save_file.h"

namespace window_test {

// Level 1 of a new game on the 640 x 480 field: 3 lives, the player in the
// middle, the trains at their corners, 12 fruit in a row across y = 100.
SavedGame started_game();
// A game on level 1 where nothing happens by itself: the player stands in the
// middle, the trains stand still off every line through the player, no shot
// flies, and both fruit lie far away. Only the music sounds.
SavedGame quiet_game();

Bytes save_bytes(const SavedGame &game);
// Throws unless the bytes are a whole save file.
SavedGame decoded(const Bytes &bytes);

// Where a figure heading fw stands after `by` pixels.
POS moved(POS p, int32_t fw, int32_t by);
// Every train went on along its edge by its speed once per pass of the rules.
void expect_trains_moved(const _TRAIN (&from)[TRAIN_COUNT], const _TRAIN (&to)[TRAIN_COUNT],
                         int32_t passes);

} // namespace window_test
