// The game's only waits. delay() ends every pass of the main loop and pauses
// the Enter key; delay2() sprinkles random dots over the screen while it
// waits, for the speed and lives keys and the screens between levels.
#pragma once

#include <cstdint>

// Milliseconds on a clock that only goes forward, as a double.
double clock_ms();

// The clock both waits read and the sleep they take between readings:
// clock_ms and the platform's sleep_ms, unless a test replaces them. The soak
// test points the clock at one that leaps ahead at every reading and the
// sleep at one that returns at once, so the screens between levels pass at
// once while every rule runs as in the game; a test of the sparkle's pace
// makes the sleep advance a clock of its own.
extern double (*wait_clock)();
extern void (*wait_sleep)(double ms);

// Returns at the first clock reading at least ms milliseconds after the start,
// or sooner when the session is ending (endings.h): the game is to be saved.
void delay(uint32_t ms);

// Waits like delay(), drawing random dots of the field onto the screen at a
// fixed pace (SPARKLE_SHARE_PER_SECOND of the field's pixels a second, each
// from five values of rand()) in batches, sleeping between them. Alt+Enter and
// F11 switch the display while it waits.
void delay2(uint32_t ms);

// Dots a second of the sparkle, as a share of the field's pixels: slow enough
// that a picture stays readable under two seconds of it.
constexpr double SPARKLE_SHARE_PER_SECOND = 0.08;

// Milliseconds between two batches of dots.
constexpr double SPARKLE_BATCH_MS = 10;
