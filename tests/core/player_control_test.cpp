// The player's control on the input record: the momentum of the steering,
// the turns and the margins, with the records a pass at a time.
#include "core_fixture.h"

#include "core/level_setup.h"
#include "core/pass.h"

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

namespace {

class PlayerControl : public Core {
  protected:
    void SetUp() override {
        Core::SetUp();
        game_initdata();
        show_menu(false);
    }

    // One input stage with these steering keys held: L R U D, "." for none.
    void pass(const std::string &held = ".") {
        input = INPUT_RECORD{};
        input.left = held.find('L') != std::string::npos;
        input.right = held.find('R') != std::string::npos;
        input.up = held.find('U') != std::string::npos;
        input.down = held.find('D') != std::string::npos;
        take_input(input);
        clear_events();
    }

    void moving(int x, int fw, int speed2) {
        player.pos = {x, 240};
        player.fw = fw;
        player.speed2 = speed2;
    }
};

TEST_F(PlayerControl, ArrowsSteerWithMomentum) {
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
TEST_F(PlayerControl, TheMarginsStopTheStepFromTheMarginOn) {
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

} // namespace
