// Watching a replay; main() calls watch_replay() for --replay, the input
// stage asks for the records.
#include "replay_watch.h"

#include "endings.h"
#include "options.h"
#include "main_loop.h"
#include "waits.h"
#include "../core/game_state.h"
#include "../core/screens.h"
#include "../platform/platform.h"
#include "../ui/menu.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

const REPLAY *playing = nullptr;
std::size_t next_pass = 0;

constexpr double SLOWEST_PACE = 4;
constexpr double FASTEST_PACE = 0.125;

// The timedemo's clock: a second passes at every reading, so the screens
// between levels show for a pass each.
double leaping_clock() {
    static double now = 0;
    return now += 1000;
}

// Keys and a click of the viewer's, each taken once per press.
struct ViewerKeys {
    bool stop, faster, slower;
};

ViewerKeys viewer_keys() {
    static ViewerKeys before{};
    const ViewerKeys now = {key[KEY_ESC] || (mouse_b & 1), key[options.keys[ACTION_FASTER]] != 0,
                            key[options.keys[ACTION_SLOWER]] != 0};
    const ViewerKeys pressed = {now.stop && !before.stop, now.faster && !before.faster,
                                now.slower && !before.slower};
    before = now;
    return pressed;
}

// The passes the recorded game has played: the records taken, and the pass
// that ended the game, whose record is never read.
std::size_t passes_played() {
    return next_pass + (between_levels == SCREEN_HIGH_SCORE ? 1 : 0);
}

// Compares the game with the replay's hashes reached since the last call;
// returns the pass by which it went another way, or 0 while it goes as
// recorded. A game over before the records ran out went another way too.
std::size_t went_another_way(const REPLAY &replay, std::size_t &next_checkpoint) {
    const std::size_t played = passes_played();
    for (; next_checkpoint < replay.checkpoints.size(); next_checkpoint++) {
        const REPLAY_CHECKPOINT &c = replay.checkpoints[next_checkpoint];
        if (c.pass > played)
            break;
        if (c.pass == played && c.hash != state_hash())
            return played;
    }
    if (between_levels == SCREEN_HIGH_SCORE && played < replay.passes.size())
        return played;
    return 0;
}

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

bool replay_over() {
    return !playing || next_pass >= playing->passes.size() || unit.end ||
           between_levels == SCREEN_HIGH_SCORE;
}

bool next_replay_record(INPUT_RECORD &record) {
    if (!playing || next_pass >= playing->passes.size())
        return false;
    record = unpack_record(playing->passes[next_pass++]);
    return true;
}

int watch_replay(const REPLAY &replay, const std::string &path, bool timedemo) {
    start_replay(replay);
    follow_menu();
    begin_watching(replay);
    if (timedemo)
        wait_clock = leaping_clock;
    double pace = 1;
    const double start = clock_ms();
    long passes = 0;
    std::size_t next_checkpoint = 0;
    std::size_t diverged = went_another_way(replay, next_checkpoint);
    while (!diverged && !replay_over() && !ending_requested()) {
        const ViewerKeys keys = viewer_keys();
        if (keys.stop)
            break;
        if (keys.faster)
            pace = std::max(FASTEST_PACE, pace / 2);
        if (keys.slower)
            pace = std::min(SLOWEST_PACE, pace * 2);
        const double wait = run_pass();
        passes++;
        diverged = went_another_way(replay, next_checkpoint);
        if (!timedemo && !diverged)
            delay(wait * pace);
    }
    stop_watching();
    if (diverged) {
        tell_player(
            ("tarvellion: " + path + " goes another way by pass " + std::to_string(diverged) + "\n")
                .c_str(),
            true);
        return 3;
    }
    if (timedemo) {
        const double seconds = (clock_ms() - start) / 1000;
        char line[96];
        std::snprintf(line, sizeof line, "%ld passes in %.2f s: %.0f passes per second\n", passes,
                      seconds, seconds > 0 ? passes / seconds : 0.0);
        tell_player(line, false);
    }
    return 0;
}
