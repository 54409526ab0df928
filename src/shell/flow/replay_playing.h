// The replay playing in place of the player: the attract demo and --replay
// hand it over, and the main loop takes each pass's record from it instead
// of the devices. Nothing of a replay playing is saved or recorded.
#pragma once

#include "../../core/replay.h"

#include <cstddef>

// Whether a replay is playing: the main loop then takes its records.
bool watching_replay();

// From now on the main loop takes the replay's records, from its first; the
// caller has put the game where the replay starts (start_replay). Until
// stop_watching(), which goes back to the devices.
void begin_watching(const REPLAY &replay);
void stop_watching();

// The record of the pass under way, and the next once that pass is done
// (a pass stopped at a screen between levels takes it when it goes on).
INPUT_RECORD current_replay_record();
void replay_record_taken();

// How many passes of the replay have been played: the records taken, and
// the pass that ended the game, whose record is never read.
std::size_t replay_passes_played();

// Whether the replay playing has run out: its records are all taken, its
// game has ended (its high-score screen) or the recorded player chose End.
bool replay_over();
