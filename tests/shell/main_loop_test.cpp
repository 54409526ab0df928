// The order of the stages in a pass: the real run_pass() on a field scripted
// so that what one stage leaves is what the next one must find.
#include "../headless.h"

#include "shell/files/save_file.h"
#include "shell/output/assets.h"
#include "core/game_state.h"
#include "core/events.h"
#include "core/level_setup.h"
#include "shell/flow/main_loop.h"
#include "shell/flow/waits.h"
#include "shell/output/window.h"
#include "ui/frame.h"
#include "ui/menu.h"

#include <cstring>
#include <vector>

namespace {

const Rgb MAGENTA{255, 0, 255};

// The screens between levels pass at once: a second goes by at every reading.
double leaping_clock() {
    static double now = 0;
    return now += 1000;
}

int differing_pixels(BITMAP *a, BITMAP *b) {
    int differing = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            differing += !(pixel_rgb(a, x, y) == pixel_rgb(b, x, y));
    return differing;
}

// A level where nothing happens by itself: the player stands in the middle,
// the trains stand still off every line through the player, no shot flies,
// three fruit lie far away, and the timer is off the animation's beat.
void quiet_field() {
    show_menu(false);
    follow_menu();
    unit = {1, 0, 3, 0, 480, 640, 0, 1, 0, "Tarvellion"};
    player = {3, 0, 0, 5, 8000, FW_DOWN, {320, 240}};
    const _TRAIN trains[TRAIN_COUNT] = {{FW_RIGHT, {16, 16}, 0, 5},
                                        {FW_LEFT, {624, 464}, 0, 5},
                                        {FW_UP, {16, 464}, 0, 5},
                                        {FW_DOWN, {624, 16}, 0, 5}};
    std::memcpy(train, trains, sizeof trains);
    std::memset(fire, 0, sizeof fire);
    fruit[0] = {{100, 100}, 10, 1, -1};
    fruit[1] = {{540, 380}, 10, 2, -1};
    fruit[2] = {{100, 380}, 10, 3, -1};
}

class MainLoop : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        load_assets();
        wait_clock = leaping_clock;
    }
    void TearDown() override {
        wait_clock = clock_ms;
        Headless::TearDown();
    }
};

struct Case {
    const char *pins; // what a stage must find
    void (*arrange)();
    // Called after the pass with the records as they were before it.
    void (*check)(const SavedGame &before);
};

const Case CASES[] = {
    {"the screen shows the frame the last pass composed, with the status as the pass began",
     [] {
         unit.score = 70;
         fruit[0].pos = player.pos;
         clear_to_color(buffer, makecol(MAGENTA.r, MAGENTA.g, MAGENTA.b));
     },
     [](const SavedGame &before) {
         EXPECT_EQ(unit.score, 80);
         BITMAP *shown = create_bitmap(640, 480);
         blit(screen, shown, 0, 0, 0, 0, 640, 480);
         restore_records(before);
         clear_to_color(buffer, makecol(MAGENTA.r, MAGENTA.g, MAGENTA.b));
         show_to_screen();
         EXPECT_EQ(differing_pixels(screen, shown), 0);
         destroy_bitmap(shown);
     }},
    {"the animation steps on the timer the last pass left; the rules count the pass",
     [] {
         sgreen.Step(0);
         unit.timer = 5;
     },
     [](const SavedGame &) {
         EXPECT_EQ(sgreen.Frame(), 1);
         EXPECT_EQ(unit.timer, 6);
     }},
    {"a click the buttons complete is taken in the same pass",
     [] {
         show_menu(true);
         follow_menu();
         unit.level = 5;
         mouse_x = 300;
         mouse_y = 210;
         mouse_b = 1;
         bstart.Flash();
         mouse_b = 0;
     },
     [](const SavedGame &) {
         EXPECT_EQ(unit.level, 1);
         EXPECT_FALSE(showmouse);
     }},
    {"collisions find the player where the last pass left it, not where it steps now",
     [] {
         player.fw = FW_RIGHT;
         player.speed2 = 5;
         fruit[0].pos = {301, 240}; // touching before the step only
         fruit[1].pos = {343, 240}; // touching after it only
     },
     [](const SavedGame &) {
         EXPECT_EQ(player.pos.x, 325);
         EXPECT_EQ(fruit[0].live, 0);
         EXPECT_EQ(fruit[1].live, -1);
     }},
    {"a shot hits where the last pass left it, then moves",
     [] {
         fire[0] = {FW_DOWN, 5, -1, {320, 217}};
     },
     [](const SavedGame &) {
         EXPECT_EQ(player.live, 3);
         EXPECT_EQ(fire[0].live, -1);
         EXPECT_EQ(fire[0].pos.y, 222);
     }},
    {"the shots move before a train fires a new one", [] { train[0].pos.x = 320; },
     [](const SavedGame &) {
         EXPECT_EQ(fire[0].live, -1);
         EXPECT_EQ(fire[0].pos.x, 320);
         EXPECT_EQ(fire[0].pos.y, 16);
     }},
    {"the last fruit eaten clears the level in the same pass and its screens",
     [] {
         unit.fruitmax = 1;
         fruit[0].pos = player.pos;
     },
     [](const SavedGame &) { EXPECT_EQ(unit.level, 2); }},
    {"the last life lost ends the game in the same pass and its screens",
     [] {
         player.live = 1;
         fire[0] = {FW_DOWN, 5, -1, player.pos};
     },
     [](const SavedGame &) { EXPECT_EQ(player.live, 3); }},
    {"the frame is composed after the rules and before the player steps",
     [] {
         train[1].speed = 3;
         player.fw = FW_UP;
         player.speed2 = 5;
     },
     [](const SavedGame &before) {
         EXPECT_EQ(train[1].pos.x, 621);
         EXPECT_EQ(player.pos.y, 235);
         BITMAP *composed = create_bitmap(640, 480);
         blit(buffer, composed, 0, 0, 0, 0, 640, 480);
         player.pos = before.player.pos;
         clear_to_color(buffer, makecol(0, 128, 0));
         put_bmp();
         EXPECT_EQ(differing_pixels(buffer, composed), 0);
         destroy_bitmap(composed);
     }},
    {"paused, the rules and the timer stand",
     [] {
         unit.pause = 1;
         unit.timer = 7;
         fire[0] = {FW_DOWN, 5, -1, {320, 100}};
     },
     [](const SavedGame &) {
         EXPECT_EQ(unit.timer, 7);
         EXPECT_EQ(fire[0].pos.y, 100);
     }},
};

TEST_F(MainLoop, EachStageFindsWhatTheStageBeforeItLeft) {
    for (const Case &c : CASES) {
        SCOPED_TRACE(c.pins);
        quiet_field();
        c.arrange();
        const SavedGame before = records_now();
        run_pass();
        while (!in_play()) // the screens between levels, at once on the leaping clock
            run_pass();
        c.check(before);
    }
}

} // namespace

namespace {

// The rules report each level laid out; the loop then shows the next of the
// three backgrounds, a new game going on from where the cycle stood.
TEST_F(MainLoop, EachLevelShowsTheNextBackground) {
    std::vector<int> frames = {sback.Frame()};
    for (bool new_game : {true, false, false, true}) {
        if (new_game)
            game_initdata();
        else
            game_next();
        act_on_events();
        clear_events();
        frames.push_back(sback.Frame());
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 0, 1}));
}

} // namespace
