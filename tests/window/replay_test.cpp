// Replays in the real window: the menu left alone plays its demo and gives
// the menu back as it was at the first input, and --replay shows a recorded
// game; neither touches the player's files.
#include "menu_screen.h"
#include "real_window.h"

#include <gtest/gtest.h>

namespace {

using namespace window_test;

TEST(AttractMode, TheMenuLeftAlonePlaysTheDemoAndComesBackAsItWas) {
    GameRun run;
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    const auto start_lit = [](const ScreenImage &s) {
        return menu_shown(s) && filled_with(s, START_BOX, BUTTON_LIGHT, ANY_DEPTH_TOLERANCE);
    };
    run.point_until(START_BOX.centre_x(), START_BOX.centre_y(), start_lit, "Start lit");
    run.wait_for_screen(menu_hidden, "the demo after half a minute", 45);
    run.hold_key("Shift_L");
    run.wait_for_screen(start_lit, "the menu back with Start lit");
    press_button(run, END_BOX);
    const ExitStatus status = run.wait_exit(10);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
    EXPECT_FALSE(run.file("save.dat")) << "the demo's game was saved as the player's";
    EXPECT_FALSE(run.file("last-game.replay")) << "the demo was recorded";
}

TEST(ReplayOption, ShowsTheRecordedGameUntilEsc) {
    GameOptions options;
    options.arguments = {"--replay", "demo.replay"};
    GameRun run(options);
    run.wait_for_window();
    run.wait_for_screen(menu_hidden, "the recorded game in play");
    run.hold_key("Escape");
    const ExitStatus status = run.wait_exit(10);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
    EXPECT_FALSE(run.file("save.dat"));
    EXPECT_FALSE(run.file("last-game.replay"));
}

} // namespace
