// The replay playing; begun by the attract mode and --replay (replay_watch.cpp),
// read by the main loop.
#include "replay_playing.h"

#include "../../core/game_state.h"
#include "../../core/screens.h"

namespace {

const REPLAY *playing = nullptr;
std::size_t next_pass = 0;

} // namespace

bool watching_replay() {
    return playing != nullptr;
}

void begin_watching(const REPLAY &replay) {
    playing = &replay;
    next_pass = 0;
}

void stop_watching() {
    playing = nullptr;
}

INPUT_RECORD current_replay_record() {
    if (!playing || next_pass >= playing->passes.size())
        return INPUT_RECORD{};
    return unpack_record(playing->passes[next_pass]);
}

void replay_record_taken() {
    next_pass++;
}

std::size_t replay_passes_played() {
    return next_pass + (between_levels == SCREEN_HIGH_SCORE ? 1 : 0);
}

bool replay_over() {
    return !playing || next_pass >= playing->passes.size() || unit.end ||
           between_levels == SCREEN_HIGH_SCORE;
}
