// The very first frame of a run: it is presented before anything has been
// drawn, so it must show the cleared field rather than whatever memory the
// frame buffer was given.
#include "real_window.h"

#include <gtest/gtest.h>

using namespace window_test;

TEST(FirstFrame, ShowsTheClearedField) {
    GameOptions options;
    options.settings = "1 1000"; // a second per pass: time to look at the first one
    GameRun run(options);
    run.wait_for_window();
    const ScreenImage shot = run.screenshot();
    const Rgb green{0, 128, 0};
    int cleared = 0, total = 0;
    for (int y = 40; y < shot.height(); y += 8)
        for (int x = 0; x < shot.width(); x += 8, total++)
            cleared += shot.at(x, y).near(green, 2);
    EXPECT_EQ(cleared, total) << "the first frame is not the cleared field";
}
