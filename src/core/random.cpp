// The game's generator: a new or continued game takes its seed (level setup,
// the save store), level setup draws from it.
#include "random.h"

uint32_t game_seed = 1;
uint32_t next_game_seed = 1;

namespace {

constexpr uint32_t ZERO_STAND_IN = 0x9E3779B9u;

uint32_t state = ZERO_STAND_IN;

// Spreads one seed to the next, so that seeds a clock gives a second apart
// still start unrelated games.
uint32_t following_seed(uint32_t seed) {
    uint32_t z = seed + 0x9E3779B9u;
    z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
    z = (z ^ (z >> 13)) * 0xC2B2AE35u;
    return z ^ (z >> 16);
}

} // namespace

uint32_t daily_seed(uint32_t yyyymmdd) {
    // Apart from the seeds a clock gives: 2026-12-08 is no second of 1970.
    return following_seed(yyyymmdd ^ 0xDA11C0DEu);
}

uint32_t utc_day(int64_t seconds) {
    // Days since 1970 to the civil date (the proleptic Gregorian calendar).
    int64_t days = seconds / 86400 - (seconds % 86400 < 0 ? 1 : 0);
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t of_era = days - era * 146097;
    const int64_t year_of_era = (of_era - of_era / 1460 + of_era / 36524 - of_era / 146096) / 365;
    const int64_t day_of_year = of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const int64_t month_index = (5 * day_of_year + 2) / 153;
    const int64_t day = day_of_year - (153 * month_index + 2) / 5 + 1;
    const int64_t month = month_index < 10 ? month_index + 3 : month_index - 9;
    const int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
    return static_cast<uint32_t>(year * 10000 + month * 100 + day);
}

std::vector<uint32_t> daily_days(int64_t seconds) {
    return {utc_day(seconds), utc_day(seconds - 3600)};
}

void seed_game_random(uint32_t seed) {
    state = seed != 0 ? seed : ZERO_STAND_IN;
}

void start_game_random() {
    game_seed = next_game_seed;
    seed_game_random(game_seed);
    next_game_seed = following_seed(next_game_seed);
}

int game_random() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<int>(state >> 1);
}

uint32_t game_random_state() {
    return state;
}

void set_game_random_state(uint32_t s) {
    seed_game_random(s);
}
