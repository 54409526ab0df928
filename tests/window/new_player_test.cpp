// The first games of a new player, keyboard first: Enter on a fresh menu
// starts, the pause says so, the key that leaves the game-over picture does
// not act again in the next game, and the demo comes back after every
// half minute left alone, also from the menu opened during a game.
#include "crafted_save.h"
#include "menu_screen.h"
#include "real_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace window_test;

constexpr int PLAYER_START_X = 304;
// The black band above the words of the label under "Paused".
constexpr Box GOES_ON_BAND{262, 253, 378, 258};
constexpr Rgb BLACK{0, 0, 0};

void pause_ms(double ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(ms * slowdown())));
}

bool goes_on_label(const ScreenImage &shot) {
    const int area =
        (GOES_ON_BAND.right - GOES_ON_BAND.left + 1) * (GOES_ON_BAND.bottom - GOES_ON_BAND.top + 1);
    return count_in(shot, GOES_ON_BAND, BLACK, ANY_DEPTH_TOLERANCE) > area * 9 / 10;
}

TEST(NewPlayer, KeysDoWhatTheScreenSaysAndTheDemoComesBack) {
    GameRun run;
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    run.hold_key("Return");
    run.wait_for_screen(menu_hidden, "a game after Enter on the fresh menu");

    run.hold_key("Return");
    run.wait_for_screen(goes_on_label, "the pause's label");
    // Keys are not read in the half second the pause key rests.
    pause_ms(600);
    run.hold_key("Return");
    run.wait_for_screen([](const ScreenImage &s) { return !goes_on_label(s); },
                        "the label gone as play goes on", 1);

    // End takes a life at each press (one falling into the rest after the
    // one before is dropped, so there are more than the three lives): the
    // game is over, its picture waits two seconds and then for a key, held
    // into the next game's passes.
    for (int i = 0; i < 6; i++)
        run.hold_key("End");
    pause_ms(3000);
    run.hold_key("Return", 300);
    run.hold_key("Right", 500);
    pause_ms(1000);
    run.hold_key("Escape");
    run.wait_for_screen(menu_shown, "the menu over the game");

    for (int demo = 1; demo <= 2; demo++) {
        SCOPED_TRACE("demo " + std::to_string(demo));
        run.wait_for_screen(menu_hidden, "the demo after half a minute", 45);
        run.hold_key("Shift_L");
        run.wait_for_screen(menu_shown, "the menu back at a key");
    }
    press_button(run, END_BOX);
    const ExitStatus status = run.wait_exit(10);
    ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);
    const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
    EXPECT_EQ(game.unit.level, 1);
    EXPECT_EQ(game.player.live, 3) << "the game after the game over";
    EXPECT_GT(game.player.pos.x, PLAYER_START_X) << "Right did not move the figure";
}

} // namespace
