// The game's own random numbers: the kinds, points and places of each level's
// fruit. A small xorshift generator whose whole state is one 32-bit word,
// seeded at each new game, so that a game is the same game again from its
// seed and the input records of its passes. Level setup draws from it; what
// is only for the eye (the sparkle) has a generator of its own in the shell.
#pragma once

#include <cstdint>
#include <vector>

// The seed the game in progress started from.
extern uint32_t game_seed;

// The seed the next new game takes: start-up sets it from the clock, and
// each new game moves it on, so every game of a run differs.
extern uint32_t next_game_seed;

// The daily challenge's seed for a day (UTC) written yyyymmdd: every player
// gets that day's fruit. Days differ as seeds a second apart do.
uint32_t daily_seed(uint32_t yyyymmdd);

// The UTC day, as yyyymmdd, of a time in seconds since 1970: the daily
// challenge's day.
uint32_t utc_day(int64_t seconds);

// The days whose challenge may be sent at this moment: a day's challenge is
// taken that day and in the hour after it (the two are one day after 01:00).
std::vector<uint32_t> daily_days(int64_t seconds);

// Starts the generator from a seed (0 is taken as another fixed value: the
// generator never leaves 0).
void seed_game_random(uint32_t seed);

// A game begins, new or continued: it takes next_game_seed as its own seed
// and moves next_game_seed on.
void start_game_random();

// The next number, 0 .. 2^31 - 1.
int game_random();

// The generator's state as it stands, and set back to one.
uint32_t game_random_state();
void set_game_random_state(uint32_t state);
