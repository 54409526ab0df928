// New game and level setup: the records of a fresh game and of each new level,
// the fruit drawn for a level, and the background's turn per level.
#include "../headless.h"

#include "rules/level_setup.h"
#include "shell/assets.h"
#include "shell/game_state.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <unistd.h>
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

class LevelSetup : public Headless {
  protected:
    void TearDown() override {
        sback.Release();
        Headless::TearDown();
    }
};

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

// The tune is about a minute long; a game goes on far longer.
TEST_F(LevelSetup, NewGameStartsTheMusicLooping) {
    load_assets();
    ASSERT_NE(backsound, nullptr);
    game_initdata();
    EXPECT_EQ(last_music.midi, backsound);
    EXPECT_EQ(last_music.loop, 1) << "the music would stop at the tune's end";
}

TEST_F(LevelSetup, FruitFollowTheRandomSequenceInDrawOrder) {
    // Kind, points, then x and y, each drawn again until it lies within the
    // margins. Many seeds, so that the draws reach both ends of each band and
    // the values just outside them.
    std::set<int> drawn_x, drawn_y;
    for (unsigned seed = 1; seed <= 1000; seed++) {
        std::srand(seed);
        game_initdata();
        std::srand(seed);
        for (int i = 0; i < 12; i++) {
            const int kind = std::rand() % 4 + 1;
            const int score = std::rand() % (kind * 100);
            int x, y;
            do
                drawn_x.insert(x = std::rand() % 640);
            while (x < 48 || x > 592);
            do
                drawn_y.insert(y = std::rand() % 480);
            while (y < 48 || y > 432);
            ASSERT_EQ(of(fruit[i]), V({x, y, score, kind, -1}))
                << "seed " << seed << " fruit " << i;
        }
    }
    for (int x : {47, 48, 592, 593})
        EXPECT_TRUE(drawn_x.count(x)) << x;
    for (int y : {47, 48, 432, 433})
        EXPECT_TRUE(drawn_y.count(y)) << y;
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

TEST_F(LevelSetup, BackgroundTakesItsNextFrameWithEachLevel) {
    // Three frames of its own, written where the sprite looks for them.
    char dir[] = "/tmp/tarvellion-back-XXXXXX", here[4096];
    ASSERT_NE(mkdtemp(dir), nullptr);
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(dir), 0);
    BITMAP *picture = create_bitmap(640, 480);
    const char *const files[] = {"back0.dat", "back1.dat", "back2.dat"};
    for (int n = 0; n < 3; n++) {
        clear_to_color(picture, makecol(60 * n, 0, 0));
        save_bmp(files[n], picture, nullptr);
    }
    destroy_bitmap(picture);
    sback.Create("back", 3, 640, 480);
    for (const char *file : files)
        std::remove(file);
    ASSERT_EQ(chdir(here), 0);
    rmdir(dir);
    for (int n = 0; n < 3; n++)
        ASSERT_NE(sback.FrameBitmap(n), nullptr) << n;

    V frames = {sback.Frame()}; // the start menu's
    game_initdata();
    frames.push_back(sback.Frame());
    game_next();
    frames.push_back(sback.Frame());
    game_next();
    frames.push_back(sback.Frame());
    game_initdata(); // a new game goes on from where the cycle stood
    frames.push_back(sback.Frame());
    EXPECT_EQ(frames, V({0, 1, 2, 0, 1}));
}

} // namespace
