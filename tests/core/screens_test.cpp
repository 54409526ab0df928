// The screens between levels as the rules order them: which follow a cleared
// level and a lost game, and what is set up once each sequence ends. How they
// look and how long they last is the shell's (tests/shell/screens_test.cpp).
#include "core_fixture.h"

#include "core/collisions.h"
#include "core/screens.h"
#include "core/level_setup.h"

#include <vector>

namespace {

using V = std::vector<int32_t>;

TEST_F(Core, ScreensFollowInTheirOrderAndSetUpWhatComesNext) {
    const struct {
        int32_t level, lives, score;
        bool cleared;
        V screens;
        V after; // level, lives, score, extra-life mark
    } cases[] = {
        {9, 2, 100, true, {SCREEN_GREAT, SCREEN_NEXT_LEVEL}, {10, 2, 100, 8000}},
        {10,
         2,
         100,
         true,
         {SCREEN_GREAT, SCREEN_GREAT_AGAIN, SCREEN_SEND_SAVE, SCREEN_NEXT_LEVEL},
         {11, 2, 100, 8000}},
        // The extra life comes once the next level is laid out.
        {3, 2, 8000, true, {SCREEN_GREAT, SCREEN_NEXT_LEVEL}, {4, 3, 8000, 28000}},
        {3, 0, 7990, false, {SCREEN_LOST, SCREEN_HIGH_SCORE}, {1, 3, 0, 8000}},
        // Cleared with the last life gone: the next level, then game over.
        {3,
         0,
         7990,
         true,
         {SCREEN_GREAT, SCREEN_NEXT_LEVEL, SCREEN_LOST, SCREEN_HIGH_SCORE},
         {1, 3, 0, 8000}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.level) + (c.cleared ? " cleared" : " lost"));
        game_initdata();
        unit.level = c.level;
        unit.score = c.score;
        player.live = c.lives;
        for (int i = 0; i < unit.fruitmax; i++)
            fruit[i].live = c.cleared ? 0 : -1;
        clear_events();
        iswin();
        V shown;
        while (between_levels != BETWEEN_NONE && shown.size() < 8) {
            shown.push_back(between_levels);
            screen_done();
        }
        EXPECT_EQ(shown, c.screens);
        EXPECT_EQ(V({unit.level, player.live, unit.score, player.maxjy}), c.after);
        EXPECT_EQ(fruit[0].live, -1) << "a new field is laid out";
        EXPECT_EQ(events.level_start, c.cleared || c.lives < 1);
    }
}

} // namespace
