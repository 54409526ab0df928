// Frame pacing, the sparkle and the key wait; called by the main loop for
// its states (main_loop.cpp, high_score_entry.cpp).
//
// The waits read a monotonic clock rather than processor time: processor
// time stretches a wait while the game is not scheduled and shrinks it while
// the library's own threads run.
#include "waits.h"

#include "endings.h"
#include "../input/gamepad.h"
#include "../../platform/platform.h"
#include "../../ui/frame.h"
#include "../../ui/present.h"

#include <allegro.h>

#include <algorithm>

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

// The sparkle's own numbers, apart from the game's (core/random.h): how many
// dots it draws depends on the clock, and the game must not.
uint32_t sparkle_state = 0x2545F491u;

int sparkle_random(int below) {
    sparkle_state ^= sparkle_state << 13;
    sparkle_state ^= sparkle_state >> 17;
    sparkle_state ^= sparkle_state << 5;
    return static_cast<int>(sparkle_state % static_cast<uint32_t>(below));
}

void draw_random_dot(int field_w, int field_h) {
    const int blue = sparkle_random(256);
    const int green = sparkle_random(256);
    const int red = sparkle_random(256);
    const int colour = makecol(red, green, blue);
    const int y = sparkle_random(field_h);
    const int x = sparkle_random(field_w);
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

void delay(double ms) {
    const double start_time = wait_clock();
    for (;;) {
        const double elapsed = wait_clock() - start_time;
        if (ms <= elapsed || ending_requested())
            return;
        if (ms - elapsed > SPIN_MS)
            wait_sleep(ms - elapsed - SPIN_MS);
    }
}

void begin_wait(TIMED_WAIT &wait, double ms, bool sparkle) {
    wait = {wait_clock(), ms, 0, sparkle};
}

// The number of dots is set by the clock, not by how often the loop comes
// round, so a slow or busy machine shows the same sparkle.
double wait_step(TIMED_WAIT &wait) {
    const double elapsed = wait_clock() - wait.start;
    if (wait.length <= elapsed || ending_requested())
        return 0;
    const double stretch = std::min(SPARKLE_BATCH_MS, wait.length - elapsed);
    if (wait.sparkle) {
        const long due = static_cast<long>((elapsed + stretch) * SPARKLE_DOTS_PER_SECOND / 1000);
        draw_random_dots(due - wait.drawn, buffer->w, buffer->h);
        wait.drawn = due;
    }
    return stretch;
}

void begin_key_wait() {
    forget_pad_presses();
}

bool key_wait_over() {
    // Without a keyboard driver there is nothing to wait for.
    if (!keyboard_driver && !keypressed())
        return true;
    if (keypressed()) {
        readkey();
        return true;
    }
    if (ending_requested())
        return true;
    poll_gamepad();
    return pad.pressed_button || pad.pressed_start;
}
