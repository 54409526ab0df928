// Trains and shots: turning at the ends of the band, lining up with the
// player, firing, and the flight of the shots across the field.
#include "core_fixture.h"

#include "core/collisions.h"
#include "core/level_setup.h"
#include "core/trains.h"
#include "core/game_state.h"

#include <vector>

namespace {

using Trains = Core;
using V = std::vector<int32_t>;

// The coordinate along train i's own track: x on the top and bottom edges,
// y on the left and right ones.
int32_t &along(POS &p, int i) {
    return i < 2 ? p.x : p.y;
}

// Where no train lines up with the player.
constexpr POS FAR_AWAY = {-1000, -1000};

TEST_F(Trains, TurnWithoutStoppingAtTheLowEndAndStandOnePassAtTheHighEnd) {
    struct Case {
        int train;
        int32_t fw, start;
        V track;
    } cases[] = {
        {2, FW_UP, 18, {17, 16, 15, 16, 17}},
        {3, FW_DOWN, 462, {463, 464, 465, 465, 464}},
        {1, FW_LEFT, 18, {17, 16, 15, 16, 17}},
        {0, FW_RIGHT, 622, {623, 624, 625, 625, 624}},
    };
    for (const Case &c : cases) {
        game_initdata();
        player.pos = FAR_AWAY;
        train[c.train].fw = c.fw;
        along(train[c.train].pos, c.train) = c.start;
        V track;
        for (size_t k = 0; k < c.track.size(); k++) {
            move_train();
            track.push_back(along(train[c.train].pos, c.train));
        }
        EXPECT_EQ(track, c.track) << "train " << c.train;
    }
}

TEST_F(Trains, FireWhenThePlayerIsWithinTwoPixelsOfTheLine) {
    for (int i = 0; i < TRAIN_COUNT; i++)
        for (int d : {-3, -2, 2, 3}) {
            game_initdata();
            along(train[i].pos, i) = 200;
            // Trains 0 and 3 step up to 201, trains 1 and 2 down to 199; the
            // player stands near the opposite edge.
            const int32_t reached = i == 0 || i == 3 ? 201 : 199;
            const int32_t across = i == 0 || i == 2 ? 440 : 40;
            player.pos = i < 2 ? POS{reached + d, across} : POS{across, reached + d};
            move_train();
            EXPECT_EQ(fire[i].live != 0, d == -2 || d == 2) << "train " << i << " off by " << d;
        }
}

TEST_F(Trains, TopTrainFiresAtThePlayerStandingInTheMiddle) {
    game_initdata();
    int pass = 0;
    while (!fire[0].live && pass < 1000) {
        pass++;
        hit_fire();
        move_fire();
        move_train();
    }
    EXPECT_EQ(pass, 286);
    EXPECT_EQ(train[0].pos.x, 302);
    EXPECT_EQ(V({fire[0].pos.x, fire[0].pos.y, fire[0].fw, fire[0].speed}), V({302, 16, 2, 5}));
    hit_fire();
    move_fire();
    EXPECT_TRUE(fire[0].live);
    EXPECT_EQ(V({fire[0].pos.x, fire[0].pos.y}), V({302, 21}));
}

TEST_F(Trains, ATrainFiresAgainOnlyAtTheFirstLineUpOnceItsShotHasDied) {
    // The player follows train 0 along the top, lined up in every pass but
    // those in which it stays away. The first shot dies in pass 92.
    struct Case {
        int away_from, away_to;
        V firing;
    } cases[] = {{0, 0, {1, 92}}, {50, 100, {1, 100}}, {92, 93, {1, 93}}};
    for (const Case &c : cases) {
        game_initdata();
        V firing;
        for (int pass = 1; pass <= 150; pass++) {
            const bool away = pass >= c.away_from && pass < c.away_to;
            player.pos = away ? FAR_AWAY : POS{train[0].pos.x, 300};
            move_fire();
            move_train();
            // A shot sits on the train's track only in the pass it was fired in.
            if (fire[0].live && fire[0].pos.y == 16) {
                firing.push_back(pass);
                EXPECT_EQ(fire[0].pos.x, train[0].pos.x);
            }
        }
        EXPECT_EQ(firing, c.firing) << "away from " << c.away_from;
    }
}

TEST_F(Trains, ShotsCrossTheDefaultFieldAndDieAtTheFarEdge) {
    struct Case {
        int train, moves;
        int32_t from, step;
    } cases[] = {{0, 90, 16, 5}, {1, 90, 464, -5}, {2, 122, 16, 5}, {3, 122, 624, -5}};
    for (const Case &c : cases) {
        game_initdata();
        shoot(c.train, c.train < 2 ? 1 : 0);
        // Shots fly across the train's track: y for trains 0 and 1, x for 2, 3.
        auto across = [&] { return c.train < 2 ? fire[c.train].pos.y : fire[c.train].pos.x; };
        V path = {across()}, expected;
        int passes = 0;
        while (fire[c.train].live && passes < 1000) {
            move_fire();
            passes++;
            path.push_back(across());
        }
        for (int k = 0; k <= c.moves; k++)
            expected.push_back(c.from + k * c.step);
        expected.push_back(expected.back()); // dies where it stands
        EXPECT_EQ(path, expected) << "train " << c.train;
        EXPECT_EQ(passes, c.moves + 1) << "train " << c.train;
    }
}

TEST_F(Trains, EachTrainShootsTowardsTheOppositeEdge) {
    const int32_t expected[TRAIN_COUNT] = {FW_DOWN, FW_UP, FW_RIGHT, FW_LEFT};
    for (const POS &size : {POS{640, 480}, POS{34, 34}, POS{35, 35}, POS{200, 34}})
        for (int i = 0; i < TRAIN_COUNT; i++) {
            unit.width = size.x;
            unit.height = size.y;
            const int32_t w = size.x - 16, h = size.y - 16;
            train[0] = {FW_RIGHT, {16, 16}, 1, 5};
            train[1] = {FW_LEFT, {w, h}, 1, 5};
            train[2] = {FW_UP, {16, h}, 1, 5};
            train[3] = {FW_DOWN, {w, 16}, 1, 5};
            for (_fire &shot : fire)
                shot.live = 0;
            player.pos = FAR_AWAY;
            move_train();
            player.pos = train[i].pos; // lined up after the next step
            move_train();
            EXPECT_TRUE(fire[i].live);
            EXPECT_EQ(fire[i].fw, expected[i]) << size.x << "x" << size.y << " train " << i;
            EXPECT_EQ(fire[i].speed, 5);
        }
}

} // namespace
