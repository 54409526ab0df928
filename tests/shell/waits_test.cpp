// The waits: never shorter than asked, gentle on the processor, and the
// sparkle's pixels drawn on the screen from numbers of its own, at a pace
// set by the clock alone, slow enough to leave a picture readable.
#include "../headless.h"

#include "core/random.h"
#include "platform/platform.h"
#include "shell/output/assets.h"
#include "shell/flow/waits.h"
#include "shell/output/window.h"
#include "ui/frame.h"
#include "ui/present.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace {

using Waits = Headless;

// The sparkle wait as the main loop runs it: a step a pass, asleep between.
void sparkle_wait(double ms) {
    TIMED_WAIT wait;
    begin_wait(wait, ms, true);
    for (double sleep; (sleep = wait_step(wait)) > 0;)
        wait_sleep(sleep);
}

double thread_cpu_ms() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int differing_pixels(BITMAP *a, BITMAP *b) {
    int n = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            n += getpixel(a, x, y) != getpixel(b, x, y);
    return n;
}

TEST_F(Waits, DelayNeverEndsEarly) {
    const double start = clock_ms();
    delay(0);
    EXPECT_LT(clock_ms() - start, 20.0);
    for (uint32_t ms : {1u, 2u, 3u, 7u, 30u, 30u, 30u}) {
        const double before = clock_ms();
        delay(ms);
        const double took = clock_ms() - before;
        EXPECT_GE(took, ms);
        EXPECT_LT(took, ms + 250.0); // not seconds for milliseconds
    }
}

TEST_F(Waits, DelayLeavesTheProcessorAlone) {
    const double cpu = thread_cpu_ms();
    delay(200);
    EXPECT_LT(thread_cpu_ms() - cpu, 20.0);
}

// The sparkle draws on the screen alone, from numbers of its own: the game's
// generator is where it was, the frame in the buffer untouched.
TEST_F(Waits, SparkleDrawsOnTheScreenOnlyAndLeavesTheGamesNumbersAlone) {
    for (uint32_t ms : {0u, 20u}) {
        clear_to_color(screen, makecol(0, 128, 0));
        BITMAP *before_screen = create_bitmap(640, 480);
        BITMAP *before_buffer = create_bitmap(640, 480);
        blit(screen, before_screen, 0, 0, 0, 0, 640, 480);
        blit(buffer, before_buffer, 0, 0, 0, 0, 640, 480);
        seed_game_random(4711);
        const double start = clock_ms();
        sparkle_wait(ms);
        EXPECT_GE(clock_ms() - start, ms);
        EXPECT_EQ(game_random_state(), 4711u);
        EXPECT_EQ(differing_pixels(screen, before_screen) > 0, ms > 0);
        EXPECT_EQ(differing_pixels(buffer, before_buffer), 0);
        destroy_bitmap(before_screen);
        destroy_bitmap(before_buffer);
    }
}

TEST_F(Waits, SparkleLeavesTheProcessorAlone) {
    const double cpu = thread_cpu_ms();
    sparkle_wait(300);
    EXPECT_LT(thread_cpu_ms() - cpu, 30.0);
}

// A clock of the test's own: it moves only when the wait sleeps, and by
// `reading_cost` at every reading, as a slow machine's readings take time.
double simulated_now = 0;
double reading_cost = 0;
int sleeps = 0;
double longest_sleep = 0;

double simulated_clock() {
    simulated_now += reading_cost;
    return simulated_now;
}

void simulated_sleep(double ms) {
    simulated_now += ms;
    sleeps++;
    longest_sleep = std::max(longest_sleep, ms);
}

// Counts the dots the screen is given, whatever their size.
GFX_VTABLE counting;
GFX_VTABLE *plain = nullptr;
long dots = 0;

void count_pixel(BITMAP *b, int x, int y, int colour) {
    dots++;
    plain->putpixel(b, x, y, colour);
}

void count_block(BITMAP *b, int x1, int y1, int x2, int y2, int colour) {
    dots++;
    plain->rectfill(b, x1, y1, x2, y2, colour);
}

class SparklePace : public Waits {
  protected:
    void SetUp() override {
        Waits::SetUp();
        wait_clock = simulated_clock;
        wait_sleep = simulated_sleep;
    }
    void TearDown() override {
        wait_clock = clock_ms;
        wait_sleep = sleep_ms;
        view = {1, 0, 0};
        Waits::TearDown();
    }

    void count_dots() {
        plain = screen->vtable;
        counting = *plain;
        counting.putpixel = count_pixel;
        counting.rectfill = count_block;
        screen->vtable = &counting;
    }
    void stop_counting() { screen->vtable = plain; }

    // Runs sparkle_wait(ms) on the simulated clock; returns the dots drawn.
    long sparkle(uint32_t ms) {
        sleeps = 0;
        longest_sleep = 0;
        dots = 0;
        count_dots();
        sparkle_wait(ms);
        stop_counting();
        return dots;
    }
};

TEST_F(SparklePace, DotsFollowTheClockNotTheMachine) {
    const struct {
        int w, h;
        uint32_t ms;
        double reading_cost;
    } cases[] = {
        {640, 480, 100, 0},  {640, 480, 500, 0},  {640, 480, 2000, 0}, {640, 480, 2000, 3},
        {640, 480, 2000, 9}, {400, 300, 1500, 0}, {800, 600, 2000, 0}, {640, 480, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + ", " + std::to_string(c.ms) +
                     " ms, " + std::to_string(c.reading_cost) + " ms a reading");
        use_screen(c.w, c.h, 32);
        reading_cost = c.reading_cost;
        const double start = simulated_now;
        const long drawn = sparkle(c.ms);
        // Two seconds change under 3 % of a 640 x 480 field, so the picture
        // under the dots stays readable, and at least 1 %, so they show.
        const double most_per_ms = 0.03 * 640 * 480 / 2000;
        const double least_per_ms = 0.01 * 640 * 480 / 2000;
        // A slow reading leaves up to two readings' time without dots.
        const double late = 2 * c.reading_cost;
        EXPECT_LE(drawn, most_per_ms * c.ms);
        EXPECT_GE(drawn, std::floor(least_per_ms * std::max(0.0, c.ms - late)));
        EXPECT_GE(simulated_now - start, c.ms);
        // It sleeps between its batches rather than spinning on the clock.
        EXPECT_LE(longest_sleep, SPARKLE_BATCH_MS);
        EXPECT_GE(sleeps, static_cast<int>(c.ms / (SPARKLE_BATCH_MS + 2 * c.reading_cost)));
    }
    reading_cost = 0;
}

// The game-over picture after its 2000 ms wait: most of it still shows, at
// scale 1 and at scale 2, where every dot is a whole 2 x 2 block.
TEST_F(SparklePace, TwoThirdsOfTheGameOverPanelStayAsTheyWere) {
    load_assets();
    ASSERT_NE(blost, nullptr);
    for (int k : {1, 2}) {
        SCOPED_TRACE("scale " + std::to_string(k));
        use_screen(640, 480, 32);
        if (k > 1) {
            destroy_bitmap(screen);
            screen = create_bitmap(640 * k, 480 * k);
            view = {k, 0, 0};
        }
        const int left = 320 - blost->w / 2, top = 240 - blost->h / 2;
        draw_sprite(buffer, blost, left, top);
        show_to_screen();
        BITMAP *before = create_bitmap(screen->w, screen->h);
        blit(screen, before, 0, 0, 0, 0, screen->w, screen->h);

        EXPECT_GT(sparkle(2000), 0);
        int unchanged = 0;
        for (int y = top; y < top + blost->h; y++)
            for (int x = left; x < left + blost->w; x++) {
                bool same = true;
                for (int j = 0; j < k * k; j++)
                    same = same && getpixel(screen, x * k + j % k, y * k + j / k) ==
                                       getpixel(before, x * k + j % k, y * k + j / k);
                unchanged += same;
            }
        EXPECT_GE(3 * unchanged, 2 * blost->w * blost->h)
            << unchanged << " of " << blost->w * blost->h << " unchanged";

        int broken_blocks = 0;
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                for (int j = 1; j < k * k; j++)
                    broken_blocks += getpixel(screen, x * k + j % k, y * k + j / k) !=
                                     getpixel(screen, x * k, y * k);
        EXPECT_EQ(broken_blocks, 0);
        destroy_bitmap(before);
        view = {1, 0, 0};
    }
}

} // namespace
