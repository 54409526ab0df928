// The game's waits, each a state the main loop passes through one pass at a
// time: delay() ends every pass; the sparkle sprinkles random dots over the
// screen while the screens between levels and the speed and lives keys
// wait; the key wait ends at a key or the gamepad's button.
#pragma once

#include <cstdint>

// Milliseconds on a clock that only goes forward, as a double.
double clock_ms();

// The clock the waits read and the sleep delay() takes between readings:
// clock_ms and the platform's sleep_ms, unless a test replaces them. The soak
// test points the clock at one that leaps ahead at every reading and the
// sleep at one that returns at once, so the screens between levels pass at
// once while every rule runs as in the game; a test of the sparkle's pace
// makes the sleep advance a clock of its own.
extern double (*wait_clock)();
extern void (*wait_sleep)(double ms);

// Returns at the first clock reading at least ms milliseconds after the start,
// or sooner when the session is ending (endings.h): the game is to be saved.
void delay(double ms);

// A wait of a set length, with or without the sparkle.
struct TIMED_WAIT {
    double start;  // wait_clock() when it began
    double length; // milliseconds
    long drawn;    // dots of the sparkle drawn so far
    bool sparkle;
};

void begin_wait(TIMED_WAIT &wait, double ms, bool sparkle);

// One step of the wait: with the sparkle, draws the dots due by the end of
// the next stretch (SPARKLE_BATCH_MS at most), onto the screen as it stands.
// Returns how long the main loop is to sleep before the next step, or 0 once
// the wait is over or the session is ending.
double wait_step(TIMED_WAIT &wait);

// The sparkle's pace, whatever the machine and the field's size: two seconds
// of it change under 3 % of a 640 x 480 field, so a picture stays readable.
// Each dot costs the library a request to the X server; at this pace the
// dots take about half a per cent of a processor core.
constexpr double SPARKLE_DOTS_PER_SECOND = 4000;

// Milliseconds between two batches of dots; each batch holds the dots of
// the stretch of time that follows it.
constexpr double SPARKLE_BATCH_MS = 40;

// A wait until a key or the gamepad's button or menu button is pressed (the
// key itself is not used), or the session is ending (the window's close
// button, a signal). Keys and presses from before it began do not count.
void begin_key_wait();
// Whether it is over; polled by the main loop every KEY_POLL_MS.
bool key_wait_over();
constexpr double KEY_POLL_MS = 5;
