// The game's only waits. delay() ends every pass of the main loop and pauses
// the Enter key; delay2() sprinkles random pixels over the screen while it
// waits, for the speed and lives keys and the screens between levels.
#pragma once

#include <cstdint>

// Milliseconds on a clock that only goes forward, as a double.
double clock_ms();

// The clock both waits read: clock_ms, unless a test replaces it. The soak
// test points it at a clock that leaps ahead at every reading, so the screens
// between levels pass at once while every rule runs as in the game.
extern double (*wait_clock)();

// Returns at the first clock reading at least ms milliseconds after the start,
// or sooner when the session is ending (endings.h): the game is to be saved.
void delay(uint32_t ms);

// Waits like delay(), drawing one random pixel straight onto the screen for
// every check that finds time left.
void delay2(uint32_t ms);
