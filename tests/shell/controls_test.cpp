// The input stage of a pass: the player's momentum and steering, the
// keyboard commands and their waits, and the Start and End buttons and the
// window's close button, which setvideo() sets up together with the first
// frame.
#include "../headless.h"
#include "../ui/scratch.h"

#include "rules/level_setup.h"
#include "rules/player_control.h"
#include "shell/game_state.h"
#include "shell/waits.h"
#include "shell/window.h"
#include "ui/menu.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

// Headless there is no graphics mode, and setvideo() registers the close
// button's handler only after a mode is set. These two stand in front of the
// library's own so a test can get a mode "set", look at the buffer setvideo()
// made and press the button.
namespace {
bool pretend_mode_set = false;
void (*close_button)() = nullptr;
} // namespace

int set_gfx_mode(int card, int w, int h, int v_w, int v_h) {
    if (pretend_mode_set)
        return 0;
    using Real = int (*)(int, int, int, int, int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "set_gfx_mode"));
    return real(card, w, h, v_w, v_h);
}

int set_close_button_callback(void (*proc)()) {
    close_button = proc;
    using Real = int (*)(void (*)());
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "set_close_button_callback"));
    return real(proc);
}

namespace {

// Runs setvideo() with the mode "set" and returns the buffer it made, leaving
// the fixture's own in place.
BITMAP *pretend_setvideo() {
    BITMAP *kept = buffer;
    pretend_mode_set = true;
    EXPECT_TRUE(setvideo());
    pretend_mode_set = false;
    BITMAP *made = buffer;
    buffer = kept;
    return made;
}

void press_close_button() {
    if (!close_button)
        destroy_bitmap(pretend_setvideo());
    ASSERT_NE(close_button, nullptr);
    close_button();
}

// Keys by letter: arrows L R U D, Home H, End E, minus -, equals =, Esc X,
// Enter N; "." holds none.
int key_code(char c) {
    const char letters[] = "LRUDHE-=XN";
    const int codes[] = {KEY_LEFT, KEY_RIGHT, KEY_UP,     KEY_DOWN, KEY_HOME,
                         KEY_END,  KEY_MINUS, KEY_EQUALS, KEY_ESC,  KEY_ENTER};
    const char *at = std::strchr(letters, c);
    return at && c ? codes[at - letters] : 0;
}

class Controls : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        take_close_request();
        load_assets();
        game_initdata();
        show_menu(false);
    }

    // One call of do_key_work with these keys held; returns the milliseconds
    // it took.
    double pass(const std::string &held = ".") {
        for (char c : held)
            key[key_code(c)] = 1;
        const double start = clock_ms();
        do_key_work();
        const double took = clock_ms() - start;
        for (char c : held)
            key[key_code(c)] = 0;
        return took;
    }

    // Whether delay2 left its dots on a screen cleared to green.
    bool sparkled() {
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                if (pixel_rgb(screen, x, y) != Rgb{0, 128, 0})
                    return true;
        return false;
    }

    void moving(int x, int fw, int speed2) {
        player.pos = {x, 240};
        player.fw = fw;
        player.speed2 = speed2;
    }
};

TEST_F(Controls, ArrowKeysSteerWithMomentum) {
    // A script is one "<keys held>/<dx>,<dy>" per pass: the step the player
    // must make in that pass.
    const struct {
        int x, fw, speed2, pause;
        const char *script;
        int speed2_after;
    } cases[] = {
        {320, FW_UP, 0, 0, "R/0,0 R/1,0 R/2,0 ./3,0 ./2,0 ./1,0 ./0,0", 0},
        {320, FW_UP, 0, 0, "R/0,0 R/1,0 R/2,0 R/3,0 R/4,0 R/5,0 R/5,0", 5},
        {320, FW_UP, 0, 0, "LR/0,0 RL/-1,0 LR/-2,0", 3},
        {320, FW_LEFT, 0, 0, "UR/0,0 DRU/1,0", 2},
        {320, FW_RIGHT, 0, 0, "DU/0,0 UD/0,-1", 2},
        {320, FW_RIGHT, 2, 0, "D/2,0 D/0,3", 4},
        {320, FW_RIGHT, 5, 0, "U/5,0 U/0,-5", 5}, // speed carried across a turn
        {320, FW_RIGHT, 3, 1, "L/0,0 ./0,0", 3},  // paused
        {50, FW_LEFT, 0, 0, "L/0,0 L/-1,0 L/-2,0 L/0,0 L/0,0 L/0,0 R/0,0 R/5,0", 5},
        {590, FW_RIGHT, 5, 0, "R/5,0 R/0,0 L/0,0 L/-5,0", 5},
    };
    for (const auto &c : cases) {
        moving(c.x, c.fw, c.speed2);
        unit.pause = c.pause;
        std::istringstream script(c.script);
        std::string step;
        for (int p = 0; script >> step; p++) {
            const POS before = player.pos;
            const std::size_t slash = step.find('/');
            pass(step.substr(0, slash));
            POS expected;
            std::sscanf(step.c_str() + slash + 1, "%d,%d", &expected.x, &expected.y);
            EXPECT_EQ(player.pos.x - before.x, expected.x) << c.script << ", pass " << p;
            EXPECT_EQ(player.pos.y - before.y, expected.y) << c.script << ", pass " << p;
        }
        EXPECT_EQ(player.speed2, c.speed2_after) << c.script;
    }
}

// Each margin on the margin itself and one pixel inside it, on a field that is
// not square, so that no edge stands where another one's numbers would put it.
TEST_F(Controls, TheMarginsStopTheStepFromTheMarginOn) {
    unit.width = 500;
    unit.height = 400;
    const struct {
        int fw;
        POS at, step;
    } cases[] = {
        {FW_LEFT, {48, 200}, {0, 0}},   {FW_LEFT, {49, 200}, {-3, 0}},
        {FW_RIGHT, {452, 200}, {0, 0}}, {FW_RIGHT, {451, 200}, {3, 0}},
        {FW_UP, {250, 48}, {0, 0}},     {FW_UP, {250, 49}, {0, -3}},
        {FW_DOWN, {250, 352}, {0, 0}},  {FW_DOWN, {250, 351}, {0, 3}},
    };
    for (const auto &c : cases) {
        player.pos = c.at;
        player.fw = c.fw;
        player.speed2 = 3;
        pass();
        EXPECT_EQ(player.pos.x - c.at.x, c.step.x) << "fw " << c.fw << " from " << c.at.x;
        EXPECT_EQ(player.pos.y - c.at.y, c.step.y) << "fw " << c.fw << " from " << c.at.y;
    }
}

TEST_F(Controls, SpeedAndLivesKeysEachSparkleFor100Milliseconds) {
    const struct {
        const char *keys;
        int delay, lives, presses, delay_after, lives_after;
    } cases[] = {
        {"-", 32, 3, 7, 2, 3},
        {"=", 87, 3, 4, 102, 3},
        {"-", 5, 3, 1, 5, 3},
        {"=", 100, 3, 1, 100, 3},
        {"E", 30, 0, 1, 30, -1},
        {"H", 30, 1000000, 1, 30, 1000001},
        {"HE-=", 30, -1000, 1, 30, -1000},
    };
    for (const auto &c : cases) {
        DELAY = c.delay;
        player.live = c.lives;
        for (int p = 0; p < c.presses; p++) {
            clear_to_color(screen, makecol(0, 128, 0));
            EXPECT_GE(pass(c.keys), 100.0 * std::strlen(c.keys)) << c.keys;
            EXPECT_TRUE(sparkled()) << c.keys;
        }
        EXPECT_EQ(DELAY, c.delay_after) << c.keys << " from " << c.delay;
        EXPECT_EQ(player.live, c.lives_after) << c.keys << " from " << c.lives;
    }
}

TEST_F(Controls, EscAndEnterInOnePassLeaveTheGameRunningUnderTheMenu) {
    moving(200, FW_RIGHT, 3);
    EXPECT_GE(pass("XN"), 500);
    EXPECT_TRUE(showmouse);
    EXPECT_EQ(unit.pause, 0);
    EXPECT_EQ(player.pos.x, 203);

    EXPECT_GE(pass("N"), 500);
    EXPECT_EQ(unit.pause, 1);
    EXPECT_TRUE(showmouse);
    EXPECT_EQ(player.pos.x, 203);

    reset_records(); // no game: Enter does nothing, not even wait
    show_menu(true);
    EXPECT_LT(pass("N"), 250);
    EXPECT_EQ(unit.pause, 1);
    EXPECT_EQ(unit.fruitmax, 0);
}

TEST_F(Controls, StartBeginsANewGameOnlyFromTheShownMenu) {
    unit.level = 4;
    moving(100, FW_RIGHT, 5);
    click_at(300, 210);
    pass();
    EXPECT_EQ(unit.level, 4);
    EXPECT_EQ(player.pos.x, 105);

    show_menu(true);
    click_at(300, 210);
    pass();
    EXPECT_EQ(unit.level, 1);
    EXPECT_EQ(player.pos.x, SW / 2 - 16);
    EXPECT_EQ(player.pos.y, SH / 2 - 16);
    EXPECT_EQ(player.speed2, 0);
    EXPECT_EQ(unit.pause, 0);
    EXPECT_FALSE(showmouse);
}

TEST_F(Controls, EndAndTheCloseButtonEndTheRunAfterOneMoreStep) {
    const struct { bool menu, close; } cases[] = {{true, false}, {true, true}, {false, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "menu " << c.menu << ", close " << c.close);
        unit.end = 0;
        show_menu(c.menu);
        moving(200, FW_RIGHT, 3);
        if (c.close)
            press_close_button();
        else
            click_at(300, 240);
        pass();
        EXPECT_EQ(unit.end, 1);
        EXPECT_EQ(unit.pause, 0);
        EXPECT_FALSE(showmouse);
        EXPECT_EQ(player.pos.x, 203);

        unit.end = 0;
        pass();
        EXPECT_EQ(unit.end, 0) << "a press is taken once";
    }
}

// The first pass presents the buffer before anything is drawn into it. Memory
// of the buffer's size is filled with another colour and given back first, so
// that the new buffer most likely gets it.
TEST_F(Controls, TheFirstFrameIsTheClearedField) {
    BITMAP *used = create_bitmap(640, 480);
    clear_to_color(used, makecol(255, 0, 255));
    destroy_bitmap(used);
    BITMAP *first = pretend_setvideo();
    ASSERT_NE(first, nullptr);
    int other = 0;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            other += pixel_rgb(first, x, y) != Rgb{0, 128, 0};
    destroy_bitmap(first);
    EXPECT_EQ(other, 0);
}

} // namespace
