// Frame pacing and the sparkle wait; called by the main loop, the key
// commands and the screens between levels.
//
// Both waits read a monotonic clock rather than processor time: processor
// time stretches a wait while the game is not scheduled and shrinks it while
// the library's own threads run.
#include "waits.h"

#include "endings.h"
#include "../platform/platform.h"

#include <allegro.h>

#include <cstdlib>

double clock_ms() {
    return monotonic_us() / 1000.0;
}

double (*wait_clock)() = clock_ms;

namespace {

// Sleeping is only as exact as the scheduler; the last stretch is spun so the
// wait still ends at the first reading past its length, never before. A
// sleep here overshoots by well under this, and every millisecond spun costs
// a frame at the default delay about 3% of a processor core.
constexpr double SPIN_MS = 0.25;

} // namespace

void delay(uint32_t ms) {
    const double start_time = wait_clock();
    const double length = ms;
    for (;;) {
        const double elapsed = wait_clock() - start_time;
        if (length <= elapsed || ending_requested())
            return;
        if (length - elapsed > SPIN_MS)
            sleep_ms(length - elapsed - SPIN_MS);
    }
}

void delay2(uint32_t ms) {
    const double start_time = wait_clock();
    const double length = ms;
    while (length > wait_clock() - start_time && !ending_requested()) {
        const int blue = std::rand() % 256;
        const int green = std::rand() % 256;
        const int red = std::rand() % 256;
        const int colour = makecol(red, green, blue);
        const int y = std::rand() % SCREEN_H;
        const int x = std::rand() % SCREEN_W;
        putpixel(screen, x, y, colour);
    }
}
