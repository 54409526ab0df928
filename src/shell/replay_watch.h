// Watching a replay in the window: --replay FILE at the pace it was played,
// --timedemo as fast as the machine draws. The main loop runs as in play,
// but its passes take their records from the replay (input.cpp), the key
// waits of the screens end at once, and nothing is saved or recorded.
#pragma once

#include "../core/replay.h"

#include <string>

// Whether a replay is playing: the input stage then takes its records.
bool watching_replay();

// From now on the input stage takes the replay's records, from its first;
// the caller has put the game where the replay starts (start_replay). Until
// stop_watching(), which goes back to the devices.
void begin_watching(const REPLAY &replay);
void stop_watching();

// Whether the replay playing has run out: its records are all taken, its
// game has ended (its high-score screen) or the recorded player chose End.
bool replay_over();

// The next pass's record of the replay playing; false once it has none.
bool next_replay_record(INPUT_RECORD &record);

// Plays the replay to its end, or until Esc or a click, once the window and
// the pictures are up. The viewer's minus and equals make it faster and
// slower; --timedemo draws every frame without waiting and prints the passes
// per second. Returns the exit code: 0, or 3 when the game goes another way
// than it was recorded (the first pass where it did is told, as --verify
// tells it, and the showing stops there).
int watch_replay(const REPLAY &replay, const std::string &path, bool timedemo);
