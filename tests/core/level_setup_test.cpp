// New game and level setup: the records of a fresh game and of each new level,
// the fruit drawn for a level, and the background's turn per level.
#include "core_fixture.h"

#include "core/level_setup.h"
#include "core/random.h"

#include <cstring>
#include <map>
#include <set>
#include <vector>

namespace {

using V = std::vector<int32_t>;

V of(const _TRAIN &t) {
    return {t.fw, t.pos.x, t.pos.y, t.speed, t.speed2};
}
V of(const _PLAYER &p) {
    return {p.live, p.speed, p.speed2, p.speedmax, p.maxjy, p.fw, p.pos.x, p.pos.y};
}
V of(const _fruit &f) {
    return {f.pos.x, f.pos.y, f.score, f.level, f.live};
}

using LevelSetup = Core;

TEST_F(LevelSetup, NewGameWithTheDefaultSettings) {
    // Leftovers of an earlier game that a new one must clear.
    unit.pause = 1;
    unit.end = 1;
    unit.level = 7;
    unit.score = 900;
    unit.timer = 55;
    unit.apples = 30;
    fire[1].live = -1;
    game_initdata();

    EXPECT_EQ(V({unit.level, unit.score, unit.fruitmax, unit.pause, unit.height, unit.width,
                 unit.end, unit.timer, unit.apples}),
              V({1, 0, 12, 0, 480, 640, 0, 0, 0}));
    EXPECT_STREQ(unit.name, "Tarvellion");
    // live, speed, speed2, speedmax, maxjy, fw, x, y
    EXPECT_EQ(of(player), V({3, 0, 0, 5, 8000, FW_UP, 304, 224}));
    EXPECT_EQ(of(train[0]), V({FW_RIGHT, 16, 16, 1, 5}));
    EXPECT_EQ(of(train[1]), V({FW_LEFT, 624, 464, 1, 5}));
    EXPECT_EQ(of(train[2]), V({FW_UP, 16, 464, 1, 5}));
    EXPECT_EQ(of(train[3]), V({FW_DOWN, 624, 16, 1, 5}));
    for (const _fire &shot : fire)
        EXPECT_EQ(shot.live, 0);
}

TEST_F(LevelSetup, NewGameTakesTheTuningValuesAndLeavesThemAlone) {
    SW = 800;
    SH = 600;
    DELAY = 55; // as the speed keys may have left it
    def_train_speed = 2;
    def_train_speed2 = 6;
    def_player_speed = 4;
    def_fruit_count = 15;
    game_initdata();

    EXPECT_EQ(V({unit.width, unit.height, unit.fruitmax}), V({800, 600, 17}));
    EXPECT_EQ(of(player), V({3, 0, 0, 4, 8000, FW_UP, 384, 284}));
    EXPECT_EQ(of(train[1]), V({FW_LEFT, 784, 584, 2, 6}));
    EXPECT_EQ(of(train[2]), V({FW_UP, 16, 584, 2, 6}));
    EXPECT_EQ(of(train[3]), V({FW_DOWN, 784, 16, 2, 6}));
    EXPECT_EQ(V({SW, SH, DELAY, def_train_speed, def_train_speed2, def_player_speed,
                 def_fruit_count, COLOR_MODE, WINDOW_MODE, pan, pitch}),
              V({800, 600, 55, 2, 6, 4, 15, 32, 2, 128, 1000}));
}

// Each game takes a seed of its own from the run's: the same seed lays out
// the same fruit, and over many seeds they reach both ends of each band.
TEST_F(LevelSetup, EachGameDrawsItsFruitFromItsOwnSeed) {
    std::set<int> drawn_x, drawn_y;
    std::vector<V> first_fruit;
    for (uint32_t seed : {1u, 2u, 1u}) {
        next_game_seed = seed;
        game_initdata();
        EXPECT_EQ(game_seed, seed);
        EXPECT_NE(next_game_seed, seed) << "the next game would repeat this one";
        EXPECT_TRUE(events.new_game) << "its music starts";
        EXPECT_TRUE(events.level_start) << "its first level is shown and saved";
        first_fruit.push_back(of(fruit[0]));
    }
    EXPECT_EQ(first_fruit[0], first_fruit[2]);
    EXPECT_NE(first_fruit[0], first_fruit[1]);
    for (int game = 0; game < 1000; game++) {
        game_initdata();
        for (int i = 0; i < unit.fruitmax; i++) {
            drawn_x.insert(fruit[i].pos.x);
            drawn_y.insert(fruit[i].pos.y);
        }
    }
    EXPECT_EQ(V({*drawn_x.begin(), *drawn_x.rbegin()}), V({48, 592}));
    EXPECT_EQ(V({*drawn_y.begin(), *drawn_y.rbegin()}), V({48, 432}));
}

TEST_F(LevelSetup, EachLevelAddsTwoFruitUpToTheTablesSize) {
    const std::map<int, std::map<int, int>> counts = {
        {10, {{1, 12}, {2, 14}, {44, 98}, {45, 100}, {46, 100}, {60, 100}}},
        {99, {{1, 99}, {2, 99}, {60, 99}}},
        {97, {{1, 99}, {2, 99}, {60, 99}}},
        {98, {{1, 100}, {2, 100}}},
    };
    for (const auto &[start, at_level] : counts) {
        def_fruit_count = start;
        game_initdata();
        int misplaced = 0;
        for (int level = 1; level <= 60; level++) {
            if (level > 1)
                game_next();
            ASSERT_EQ(unit.level, level);
            if (at_level.count(level)) {
                EXPECT_EQ(unit.fruitmax, at_level.at(level))
                    << "start " << start << " level " << level;
            }
            for (int i = 0; i < unit.fruitmax; i++) {
                const _fruit &f = fruit[i];
                misplaced += f.pos.x < 48 || f.pos.x > 592 || f.pos.y < 48 || f.pos.y > 432 ||
                             f.level < 1 || f.level > 4 || f.score < 0 ||
                             f.score >= 100 * f.level || f.live != -1;
            }
        }
        EXPECT_EQ(misplaced, 0) << "start " << start;
    }
}

TEST_F(LevelSetup, NextLevelKeepsTheGameAndRenewsTheField) {
    game_initdata();
    unit.score = 4321;
    unit.apples = 17;
    unit.timer = 999;
    unit.pause = 1;
    unit.end = 1;
    std::strcpy(unit.name, "kept");
    player = {2, 9, 4, 7, 28000, FW_LEFT, {50, 60}};
    for (_TRAIN &t : train)
        t = {FW_LEFT, {300, 200}, 9, 9};
    for (_fire &shot : fire)
        shot = {FW_UP, 7, -1, {111, 222}};
    const _fruit beyond = {{1, 2}, 3, 4, 5};
    for (int i = 14; i < FRUIT_TABLE_SIZE; i++)
        fruit[i] = beyond;
    for (int i = 0; i < 12; i++)
        fruit[i].live = 0;

    game_next();

    EXPECT_EQ(
        V({unit.level, unit.score, unit.apples, unit.timer, unit.pause, unit.end, unit.fruitmax}),
        V({2, 4321, 17, 999, 1, 1, 14}));
    EXPECT_STREQ(unit.name, "kept");
    EXPECT_EQ(of(player), V({2, 0, 0, 5, 28000, FW_UP, 304, 224}));
    EXPECT_EQ(of(train[0]), V({FW_RIGHT, 16, 16, 1, 5}));
    EXPECT_EQ(of(train[1]), V({FW_LEFT, 624, 464, 1, 5}));
    EXPECT_EQ(of(train[2]), V({FW_UP, 16, 464, 1, 5}));
    EXPECT_EQ(of(train[3]), V({FW_DOWN, 624, 16, 1, 5}));
    for (const _fire &shot : fire) // only live is cleared
        EXPECT_EQ(V({shot.live, shot.fw, shot.speed, shot.pos.x, shot.pos.y}),
                  V({0, FW_UP, 7, 111, 222}));
    for (int i = 0; i < 14; i++)
        EXPECT_EQ(fruit[i].live, -1) << i;
    for (int i = 14; i < FRUIT_TABLE_SIZE; i++)
        EXPECT_EQ(of(fruit[i]), of(beyond)) << i;
}

} // namespace
