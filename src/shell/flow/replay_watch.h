// Watching a replay in the window: --replay FILE at the pace it was played,
// --timedemo as fast as the machine draws; and --verify, which plays it
// without a display. The main loop runs as in play, but its passes take
// their records from the replay (replay_playing.h), the key waits of the
// screens end at once, and nothing is saved or recorded.
#pragma once

#include "../../core/replay.h"

#include <string>

// Plays the replay to its end, or until Esc or a click, once the window and
// the pictures are up. The viewer's minus and equals make it faster and
// slower; --timedemo draws every frame without waiting and prints the passes
// per second. Returns the exit code: 0, or 3 when the game goes another way
// than it was recorded (the first pass where it did is told, as --verify
// tells it, and the showing stops there).
int watch_replay(const REPLAY &replay, const std::string &path, bool timedemo);

// --verify: plays the replay as fast as it can without a display, checking
// every hash, and prints the final level, score and state hash. Returns the
// exit code: 0 when every hash matched, 3 when the game went another way (the
// first pass where it did is printed), 2 when the file cannot be played.
int verify_replay(const std::string &path);
