// The checks of a sent game (entry_check.h): eligibility first, from the file
// alone, then the play, which is what costs.
#include "entry_check.h"

#include "../core/events.h"
#include "../core/game_state.h"
#include "../core/pass.h"
#include "../core/random.h"
#include "../core/replay.h"
#include "../core/screens.h"

#include <cstring>

namespace {

ENTRY_VERDICT refused(int status, const std::string &reason) {
    return {status, reason, 0, 0, 0, 0, 0};
}

// The day among those given whose daily challenge the seed is; 0 for none.
uint32_t day_of_seed(uint32_t seed, const std::vector<uint32_t> &days) {
    for (uint32_t day : days)
        if (daily_seed(day) == seed)
            return day;
    return 0;
}

bool uses_lives_keys(uint16_t bits) {
    const INPUT_RECORD record = unpack_record(bits);
    return record.more_lives || record.fewer_lives;
}

// Refuses what can be seen without playing; "" when the file may be played.
std::string not_eligible(const REPLAY &r, const std::vector<uint32_t> &daily_days) {
    if (r.format != REPLAY_FORMAT)
        return "a replay of format version " + std::to_string(r.format) +
               ": only games recorded from their seed can enter";
    if (r.began == BEGAN_CONTINUED)
        return "a continued game: only a game played from its start can enter";
    if (!starts_from_seed(r))
        return "a game that does not begin at its seed's new game";
    reset_tuning();
    const REPLAY defaults = replay_of_now(false);
    if (std::memcmp(r.tuning, defaults.tuning, sizeof r.tuning) != 0)
        return "played with changed settings";
    if (!daily_days.empty() && day_of_seed(r.seed, daily_days) == 0)
        return "not the daily challenge of the day it was sent";
    if (uses_lives_keys(r.first_record))
        return "the lives keys were used";
    for (uint16_t pass : r.passes)
        if (uses_lives_keys(pass))
            return "the lives keys were used";
    reset_records();
    const REPLAY made = replay_of_seed(r.seed, static_cast<ReplayBegan>(r.began), r.flags);
    if (std::memcmp(made.start, r.start, sizeof r.start) != 0 ||
        made.random_state != r.random_state || made.seed != r.seed)
        return "its start is not the new game its seed makes";
    return "";
}

} // namespace

ENTRY_VERDICT check_entry(const unsigned char *bytes, std::size_t size,
                          const std::vector<uint32_t> &daily_days) {
    if (size > MAX_ENTRY_BYTES)
        return refused(413, "larger than any game's replay");
    REPLAY r;
    const std::string damaged = decode_replay(bytes, size, r);
    if (!damaged.empty())
        return refused(400, damaged);
    const std::string wrong = not_eligible(r, daily_days);
    if (!wrong.empty())
        return refused(422, wrong);

    reset_tuning();
    const int default_delay = DELAY;
    start_replay(r);
    std::size_t played = 0, next_checkpoint = 0;
    // The hashes taken after `played` passes match the state now.
    auto goes_the_same_way = [&] {
        for (; next_checkpoint < r.checkpoints.size() &&
               r.checkpoints[next_checkpoint].pass == played;
             next_checkpoint++)
            if (r.checkpoints[next_checkpoint].hash != state_hash())
                return false;
        return true;
    };
    if (!goes_the_same_way())
        return refused(422, "it goes another way from its start");
    bool on = true;
    while (on && played < r.passes.size()) {
        if (DELAY > default_delay)
            return refused(422, "the speed was set slower than the default");
        on = play_pass(unpack_record(r.passes[played++]));
        if (!goes_the_same_way())
            return refused(422, "it goes another way by pass " + std::to_string(played));
    }
    if (played < r.passes.size())
        return refused(422,
                       "it goes another way: the game ended at pass " + std::to_string(played));
    if (on || between_levels != SCREEN_HIGH_SCORE)
        return refused(422, "the game did not end in a game over");
    if (r.checkpoints.empty() || r.checkpoints.back().pass != played)
        return refused(422, "its end is not checked: no hash of the state it ends in");
    return {201,
            "",
            unit.score,
            unit.level,
            static_cast<uint32_t>(played),
            r.seed,
            day_of_seed(r.seed, daily_days)};
}
