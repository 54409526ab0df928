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
