// The two waits: never shorter than asked, gentle on the processor, and the
// sparkle wait's pixels drawn on the screen from five random numbers each.
#include "../headless.h"

#include "shell/waits.h"
#include "shell/window.h"

#include <cstdlib>
#include <ctime>

namespace {

using Waits = Headless;

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

// Replays the random sequence from the seed to count the numbers delay2
// took, and draws the pixels they stand for onto a copy of the screen.
TEST_F(Waits, SparkleDrawsOnTheScreenOnlyFiveRandomNumbersPerPixel) {
    for (uint32_t ms : {0u, 20u}) {
        clear_to_color(screen, makecol(0, 128, 0));
        BITMAP *before_screen = create_bitmap(640, 480);
        BITMAP *before_buffer = create_bitmap(640, 480);
        blit(screen, before_screen, 0, 0, 0, 0, 640, 480);
        blit(buffer, before_buffer, 0, 0, 0, 0, 640, 480);

        const unsigned seed = 4711 + ms;
        std::srand(seed);
        const double start = clock_ms();
        delay2(ms);
        EXPECT_GE(clock_ms() - start, ms);
        const int next[3] = {std::rand(), std::rand(), std::rand()};

        std::srand(seed);
        long taken = 0;
        int window[3] = {std::rand(), std::rand(), std::rand()};
        const long limit = 400000000;
        while ((window[0] != next[0] || window[1] != next[1] || window[2] != next[2]) &&
               taken < limit) {
            window[0] = window[1];
            window[1] = window[2];
            window[2] = std::rand();
            taken++;
        }
        ASSERT_LT(taken, limit);
        EXPECT_EQ(taken % 5, 0);
        EXPECT_EQ(taken > 0, ms > 0) << taken;

        EXPECT_EQ(differing_pixels(screen, before_screen) > 0, ms > 0);
        std::srand(seed);
        for (long p = 0; p < taken / 5; p++) {
            const int blue = std::rand() % 256, green = std::rand() % 256, red = std::rand() % 256;
            const int y = std::rand() % 480, x = std::rand() % 640;
            putpixel(before_screen, x, y, makecol(red, green, blue));
        }
        EXPECT_EQ(differing_pixels(screen, before_screen), 0);
        EXPECT_EQ(differing_pixels(buffer, before_buffer), 0);
        destroy_bitmap(before_screen);
        destroy_bitmap(before_buffer);
    }
}

} // namespace
