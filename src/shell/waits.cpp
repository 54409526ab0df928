// Frame pacing and the sparkle wait; called by the main loop, the key
// commands and the screens between levels.
//
// Both waits read a monotonic clock rather than processor time: processor
// time stretches a wait while the game is not scheduled and shrinks it while
// the library's own threads run.
#include "waits.h"

#include "display.h"
#include "endings.h"
#include "window.h"
#include "../platform/platform.h"
#include "../ui/present.h"

#include <allegro.h>

#include <algorithm>
#include <cstdlib>

double clock_ms() {
    return monotonic_us() / 1000.0;
}

double (*wait_clock)() = clock_ms;
void (*wait_sleep)(double ms) = sleep_ms;

namespace {

// Sleeping is only as exact as the scheduler; the last stretch is spun so the
// wait still ends at the first reading past its length, never before. A
// sleep here overshoots by well under this, and every millisecond spun costs
// a frame at the default delay about 3% of a processor core.
constexpr double SPIN_MS = 0.25;

void draw_random_dot(int field_w, int field_h) {
    const int blue = std::rand() % 256;
    const int green = std::rand() % 256;
    const int red = std::rand() % 256;
    const int colour = makecol(red, green, blue);
    const int y = std::rand() % field_h;
    const int x = std::rand() % field_w;
    draw_field_dot(x, y, colour);
}

// Holding the screen for the whole batch spares each dot taking the lock the
// library shares with its own thread.
void draw_random_dots(long count, int field_w, int field_h) {
    if (!screen || count <= 0)
        return;
    acquire_screen();
    for (long i = 0; i < count; i++)
        draw_random_dot(field_w, field_h);
    release_screen();
}

} // namespace

void delay(uint32_t ms) {
    const double start_time = wait_clock();
    const double length = ms;
    for (;;) {
        const double elapsed = wait_clock() - start_time;
        if (length <= elapsed || ending_requested())
            return;
        if (length - elapsed > SPIN_MS)
            wait_sleep(length - elapsed - SPIN_MS);
    }
}

// The number of dots is set by the clock, not by how often the loop comes
// round, so a slow or busy machine shows the same sparkle.
void delay2(uint32_t ms) {
    const double start_time = wait_clock();
    const double length = ms;
    const double dots_per_ms = SPARKLE_DOTS_PER_SECOND / 1000;
    long drawn = 0;
    for (;;) {
        handle_display_keys();
        const double elapsed = wait_clock() - start_time;
        if (length <= elapsed || ending_requested())
            return;
        const double stretch = std::min(SPARKLE_BATCH_MS, length - elapsed);
        const long due = static_cast<long>((elapsed + stretch) * dots_per_ms);
        draw_random_dots(due - drawn, buffer->w, buffer->h);
        drawn = due;
        wait_sleep(stretch);
    }
}
