// Collisions and scoring: collecting fruit, losing lives to shots, and the
// extra lives. The screens of the level-cleared and game-over outcomes are
// in screens_test.cpp here and in the shell's tests.
#include "core_fixture.h"

#include "core/collisions.h"
#include "core/screens.h"

#include <initializer_list>
#include <vector>

namespace {

using V = std::vector<int32_t>;

class Scoring : public Core {
  protected:
    void SetUp() override {
        Core::SetUp();
        player.pos = {100, 100};
        player.live = 3;
        player.maxjy = 8000;
    }

    // How many times the action reports the event, which the shell plays.
    template <class Action> int plays(int &event, Action action) {
        const int before = event;
        action();
        return event - before;
    }

    void place_fruit(std::initializer_list<_fruit> placed) {
        unit.fruitmax = 0;
        for (const _fruit &f : placed)
            fruit[unit.fruitmax++] = f;
    }
};

TEST_F(Scoring, CentresTouchWhenTheirDistanceIsBelowTwenty) {
    struct Case {
        POS at;
        bool touches;
    } cases[] = {{{119, 100}, true}, {{120, 100}, false}, {{112, 116}, false}, {{114, 114}, true},
                 {{81, 100}, true},  {{100, 80}, false},  {{88, 116}, false},  {{100, 100}, true}};
    for (const Case &c : cases) {
        unit.score = 0;
        unit.apples = 0;
        place_fruit({{c.at, 25, 1, -1}});
        eat_apple();
        EXPECT_EQ(V({fruit[0].live, unit.score, unit.apples}),
                  c.touches ? V({0, 25, 1}) : V({-1, 0, 0}))
            << "fruit at " << c.at.x << ", " << c.at.y;

        player.live = 3;
        fire[2] = {FW_UP, 5, -1, c.at};
        hit_fire();
        EXPECT_EQ(V({fire[2].live, player.live}), c.touches ? V({0, 2}) : V({-1, 3}))
            << "shot at " << c.at.x << ", " << c.at.y;
    }
}

TEST_F(Scoring, AFruitWorthNothingIsStillCollected) {
    unit.score = 300;
    unit.apples = 5;
    place_fruit({{{100, 100}, 0, 2, -1}});
    EXPECT_EQ(plays(events.fruit_eaten, eat_apple), 1);
    EXPECT_EQ(V({fruit[0].live, unit.score, unit.apples}), V({0, 300, 6}));
}

TEST_F(Scoring, EverythingTouchingCountsInTheSamePass) {
    place_fruit({{{110, 100}, 40, 1, -1}, {{300, 300}, 70, 2, -1}, {{100, 85}, 150, 3, -1}});
    EXPECT_EQ(plays(events.fruit_eaten, eat_apple), 2);
    EXPECT_EQ(V({fruit[0].live, fruit[1].live, fruit[2].live}), V({0, -1, 0}));
    EXPECT_EQ(V({unit.score, unit.apples}), V({190, 2}));

    fire[0] = {FW_DOWN, 5, -1, {100, 300}};
    fire[1] = {FW_UP, 5, -1, {100, 110}};
    fire[2] = {FW_RIGHT, 5, 0, {100, 100}}; // dead: no longer there
    fire[3] = {FW_LEFT, 5, -1, {95, 100}};
    EXPECT_EQ(plays(events.shots_hit, hit_fire), 2);
    EXPECT_EQ(V({fire[0].live, fire[1].live, fire[2].live, fire[3].live}), V({-1, 0, 0, 0}));
    EXPECT_EQ(player.live, 1);
    EXPECT_EQ(V({player.pos.x, player.pos.y}), V({100, 100}));
}

TEST_F(Scoring, ACollectedFruitIsNeverTestedAgain) {
    place_fruit({{{100, 100}, 60, 1, 0}, {{105, 100}, 80, 1, -1}});
    EXPECT_EQ(plays(events.fruit_eaten, eat_apple), 1);
    EXPECT_EQ(plays(events.fruit_eaten, eat_apple), 0);
    EXPECT_EQ(V({fruit[0].live, fruit[1].live, unit.score, unit.apples}), V({0, 0, 80, 1}));
}

TEST_F(Scoring, ExtraLifeAtTheMarkAndEveryTwentyThousandAfter) {
    struct Case {
        int32_t score, mark;
        V after; // lives, mark, extra lives reported
    } cases[] = {{7999, 8000, {3, 8000, 0}},
                 {8000, 8000, {4, 28000, 1}},
                 {27999, 28000, {3, 28000, 0}},
                 {28000, 28000, {4, 48000, 1}}};
    for (const Case &c : cases) {
        place_fruit({{{400, 400}, 10, 1, -1}}); // a fruit left: the level goes on
        unit.score = c.score;
        player.live = 3;
        player.maxjy = c.mark;
        const int sounds = plays(events.lives_gained, iswin);
        EXPECT_EQ(V({player.live, player.maxjy, sounds}), c.after) << "score " << c.score;
    }
}

TEST_F(Scoring, MarksPassedAtOnceGiveOneLifePerPass) {
    place_fruit({{{400, 400}, 10, 1, -1}});
    unit.score = 30000;
    V lives, marks;
    for (int pass = 0; pass < 3; pass++) {
        iswin();
        lives.push_back(player.live);
        marks.push_back(player.maxjy);
    }
    EXPECT_EQ(lives, V({4, 5, 5}));
    EXPECT_EQ(marks, V({28000, 48000, 48000}));
}

} // namespace
