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
// fixed pace (SPARKLE_DOTS_PER_SECOND, each from five values of rand()) in
// batches, sleeping between them. Alt+Enter and F11 switch the display while
// it waits.
void delay2(uint32_t ms);

// The sparkle's pace, whatever the machine and the field's size: two seconds
// of it change under 3 % of a 640 x 480 field, so a picture stays readable.
// Each dot costs the library a request to the X server; at this pace the
// dots take about half a per cent of a processor core.
constexpr double SPARKLE_DOTS_PER_SECOND = 4000;

// Milliseconds between two batches of dots; each batch holds the dots of
// the stretch of time that follows it.
constexpr double SPARKLE_BATCH_MS = 40;
