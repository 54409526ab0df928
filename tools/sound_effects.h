// Synthesises the game's three sound effects as 16-bit mono samples: the fruit pickup
// blip, the hit by a shot and the extra-life fanfare. Every effect is faded in and out,
// centred on zero and peaks at -4 dBFS. Called by make_assets.
#pragma once

#include <cstdint>
#include <vector>

constexpr int effect_sample_rate = 22050;

std::vector<std::int16_t> make_pickup_blip();        // about 0.15 s
std::vector<std::int16_t> make_hit_crash();          // about 0.4 s
std::vector<std::int16_t> make_extra_life_fanfare(); // about 1 s
