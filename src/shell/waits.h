// The game's only waits. delay() ends every pass of the main loop and pauses
// the Enter key; delay2() sprinkles random pixels over the screen while it
// waits, for the speed and lives keys and the screens between levels.
#pragma once

#include <cstdint>

// Milliseconds on a clock that only goes forward, as a double.
double clock_ms();

// Returns at the first clock reading at least ms milliseconds after the start.
void delay(uint32_t ms);

// Waits like delay(), drawing one random pixel straight onto the screen for
// every check that finds time left.
void delay2(uint32_t ms);
