// Watching and verifying a replay; main() calls watch_replay() for
// --replay and verify_replay() for --verify.
#include "replay_watch.h"

#include "endings.h"
#include "replay_playing.h"
#include "../files/replay_file.h"
#include "../files/bindings.h"
#include "main_loop.h"
#include "waits.h"
#include "../../core/game_state.h"
#include "../../core/pass.h"
#include "../../core/screens.h"
#include "../../platform/platform.h"
#include "../../ui/menu.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

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
    const ViewerKeys now = {key[KEY_ESC] || (mouse_b & 1), key[bindings.keys[ACTION_FASTER]] != 0,
                            key[bindings.keys[ACTION_SLOWER]] != 0};
    const ViewerKeys pressed = {now.stop && !before.stop, now.faster && !before.faster,
                                now.slower && !before.slower};
    before = now;
    return pressed;
}

// Compares the game with the replay's hashes reached by `played` passes,
// from the next one not yet compared; returns the pass by which it went
// another way, or 0 while it goes as recorded. A game over before the
// records ran out went another way too.
std::size_t went_another_way(const REPLAY &replay, std::size_t played, bool game_over,
                             std::size_t &next_checkpoint) {
    for (; next_checkpoint < replay.checkpoints.size(); next_checkpoint++) {
        const REPLAY_CHECKPOINT &c = replay.checkpoints[next_checkpoint];
        if (c.pass > played)
            break;
        if (c.pass == played && c.hash != state_hash())
            return played;
    }
    return game_over && played < replay.passes.size() ? played : 0;
}

int tell_went_another_way(const std::string &path, std::size_t pass) {
    tell_player(("tarvellion: " + path + " goes another way by pass " + std::to_string(pass) +
                 (between_levels == SCREEN_HIGH_SCORE ? ": the game ended early" : "") + "\n")
                    .c_str(),
                true);
    return 3;
}

} // namespace

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
    std::size_t diverged = went_another_way(replay, 0, false, next_checkpoint);
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
        diverged = went_another_way(replay, replay_passes_played(),
                                    between_levels == SCREEN_HIGH_SCORE, next_checkpoint);
        if (!timedemo && !diverged)
            delay(wait * pace);
    }
    stop_watching();
    if (diverged)
        return tell_went_another_way(path, diverged);
    if (timedemo) {
        const double seconds = (clock_ms() - start) / 1000;
        char line[96];
        std::snprintf(line, sizeof line, "%ld passes in %.2f s: %.0f passes per second\n", passes,
                      seconds, seconds > 0 ? passes / seconds : 0.0);
        tell_player(line, false);
    }
    return 0;
}

int verify_replay(const std::string &path) {
    REPLAY replay;
    if (!load_replay(path, replay))
        return 2;
    if (std::strcmp(replay.version, TARVELLION_VERSION) != 0)
        tell_player(("tarvellion: " + path + " was recorded by Tarvellion " + replay.version +
                     ", this is " TARVELLION_VERSION "\n")
                        .c_str(),
                    true);
    start_replay(replay);
    std::size_t next_checkpoint = 0;
    std::size_t diverged = went_another_way(replay, 0, false, next_checkpoint);
    for (std::size_t pass = 0; pass < replay.passes.size() && !diverged; pass++) {
        const bool on = play_pass(unpack_record(replay.passes[pass]));
        diverged = went_another_way(replay, pass + 1, !on, next_checkpoint);
        if (!on)
            break;
    }
    if (diverged)
        return tell_went_another_way(path, diverged);
    char line[96];
    std::snprintf(line, sizeof line, "level %d, score %d, state hash %08x\n", unit.level,
                  unit.score, state_hash());
    tell_player(line, false);
    return 0;
}
