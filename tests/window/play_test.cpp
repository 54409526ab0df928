// Scripted games in the real window, judged by the save file the game writes
// on its way out: play and End, Continue in a later run, ending without a
// game, the window's close button, and a key rebound on the Options screen.
#include "crafted_save.h"
#include "menu_screen.h"
#include "real_window.h"
#include "shell/files/save_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace window_test;

namespace {

constexpr int FIELD_W = 640;
constexpr int FIELD_H = 480;
constexpr int PLAYER_START_X = 304;
constexpr int PLAYER_START_Y = 224;
constexpr std::size_t FRUIT_OFFSET = 484; // the fruit table, to the end of the file
// Below this many passes no train has reached the far end of its edge yet.
constexpr int32_t PASSES_BEFORE_ANY_TURN = 440;

void pause_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The glide after an arrow key is released lasts five passes at most; this
// leaves room for passes slowed down by a busy machine.
constexpr int GLIDE_MS = 1000;

// The score and the collected count agree with the fruit gone from the field.
void expect_fruit_tally(const SavedGame &game) {
    int32_t collected = 0, points = 0;
    for (int i = 0; i < game.unit.fruitmax; i++)
        if (game.fruit[i].live == 0) {
            collected++;
            points += game.fruit[i].score;
        }
    EXPECT_EQ(game.unit.apples, collected);
    EXPECT_EQ(game.unit.score, points);
}

TEST(PlayedGame, EndSavesItAndContinueResumesIt) {
    Bytes first;
    {
        SCOPED_TRACE("first run: Start, Right, Esc, End");
        GameRun run;
        run.wait_for_window();
        start_game(run);
        run.hold_key("Right", 500);
        pause_ms(GLIDE_MS);
        const ExitStatus status = end_game(run);
        ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);
        first = run.file("save.dat").value_or(Bytes{});
        ASSERT_EQ(first.size(), SAVE_FILE_SIZE);

        const SavedGame game = decoded(first);
        EXPECT_EQ(game.unit.level, 1);
        EXPECT_EQ(game.unit.fruitmax, 12);
        EXPECT_EQ(game.unit.end, 1);
        EXPECT_EQ(game.unit.pause, 0);
        EXPECT_EQ(game.unit.width, FIELD_W);
        EXPECT_EQ(game.unit.height, FIELD_H);
        EXPECT_STREQ(game.unit.name, "Tarvellion");
        expect_fruit_tally(game);
        EXPECT_GE(game.player.live, 1);
        EXPECT_LE(game.player.live, 3);
        EXPECT_EQ(game.player.fw, FW_RIGHT);
        EXPECT_GT(game.player.pos.x, PLAYER_START_X);
        EXPECT_EQ(game.player.pos.y, PLAYER_START_Y);
        EXPECT_EQ(game.player.speed2, 0) << "still gliding when Esc came";

        ASSERT_GT(game.unit.timer, 0);
        ASSERT_LT(game.unit.timer, PASSES_BEFORE_ANY_TURN);
        const _TRAIN start[TRAIN_COUNT] = {{FW_RIGHT, {16, 16}, 1, 5},
                                           {FW_LEFT, {FIELD_W - 16, FIELD_H - 16}, 1, 5},
                                           {FW_UP, {16, FIELD_H - 16}, 1, 5},
                                           {FW_DOWN, {FIELD_W - 16, 16}, 1, 5}};
        expect_trains_moved(start, game.train, game.unit.timer);
    }
    {
        SCOPED_TRACE("second run: Continue, Esc, End");
        GameOptions options;
        options.save = first;
        GameRun run(options);
        run.wait_for_window();
        continue_game(run);
        pause_ms(500);
        const ExitStatus status = end_game(run);
        ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);
        const Bytes second = run.file("save.dat").value_or(Bytes{});
        ASSERT_EQ(second.size(), SAVE_FILE_SIZE);

        const SavedGame before = decoded(first);
        const SavedGame after = decoded(second);
        EXPECT_EQ(after.unit.level, before.unit.level);
        EXPECT_EQ(after.unit.score, before.unit.score);
        EXPECT_EQ(after.unit.fruitmax, before.unit.fruitmax);
        EXPECT_EQ(after.unit.apples, before.unit.apples);
        EXPECT_EQ(after.unit.end, 1);
        EXPECT_EQ(after.unit.pause, 0);
        EXPECT_EQ(after.player.live, before.player.live);
        // The player stood still, so the field is as it was saved.
        EXPECT_EQ(after.player.pos.x, before.player.pos.x);
        EXPECT_EQ(after.player.pos.y, before.player.pos.y);
        EXPECT_TRUE(
            std::equal(first.begin() + FRUIT_OFFSET, first.end(), second.begin() + FRUIT_OFFSET));

        ASSERT_GT(after.unit.timer, before.unit.timer);
        ASSERT_LT(after.unit.timer, PASSES_BEFORE_ANY_TURN);
        expect_trains_moved(before.train, after.train, after.unit.timer - before.unit.timer);
    }
}

TEST(PlayedGame, CloseButtonEndsAndSavesLikeEnd) {
    GameRun run;
    run.wait_for_window();
    start_game(run);
    run.hold_key("Up", 300);
    pause_ms(GLIDE_MS);
    run.press_close_button();
    const ExitStatus status = run.wait_exit(10);
    ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);

    const Bytes bytes = run.file("save.dat").value_or(Bytes{});
    ASSERT_EQ(bytes.size(), SAVE_FILE_SIZE);
    const SavedGame game = decoded(bytes);
    EXPECT_EQ(game.unit.level, 1);
    EXPECT_EQ(game.unit.fruitmax, 12);
    EXPECT_EQ(game.unit.end, 1);
    EXPECT_EQ(game.unit.pause, 0);
    EXPECT_EQ(game.player.fw, FW_UP);
    EXPECT_EQ(game.player.pos.x, PLAYER_START_X);
    EXPECT_LT(game.player.pos.y, PLAYER_START_Y);
}

TEST(FreshRun, EndingWithoutAGameLeavesTheSaveAlone) {
    Bytes earlier(SAVE_FILE_SIZE);
    for (std::size_t i = 0; i < earlier.size(); i++)
        earlier[i] = static_cast<unsigned char>(i * 7 + 3);
    struct Case {
        const char *name;
        bool close_button;
        bool save_before;
    };
    for (const Case &c : {Case{"End, no save", false, false}, Case{"End, a save", false, true},
                          Case{"close button, a save", true, true}}) {
        SCOPED_TRACE(c.name);
        GameOptions options;
        if (c.save_before)
            options.save = earlier;
        GameRun run(options);
        run.wait_for_window();
        run.wait_for_screen(menu_shown, "the start menu");
        if (c.close_button)
            run.press_close_button();
        else
            press_button(run, END_BOX);
        const ExitStatus status = run.wait_exit(10);
        EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
        if (c.save_before)
            EXPECT_EQ(run.file("save.dat"), earlier);
        else
            EXPECT_FALSE(run.file("save.dat"));
    }
}

// Left rebound to A on the Options screen by keys alone: then the Left arrow
// no longer steers, and in the next run, given that run's files, A does.
TEST(OptionsScreen, LeftReboundToASteersWithAAloneAndHoldsInTheNextRun) {
    Bytes saved, options_file;
    {
        SCOPED_TRACE("first run: Down, Down, Enter, Down, Down, Enter, a, Esc; then Left in play");
        GameRun run;
        run.wait_for_window();
        run.wait_for_screen(menu_shown, "the start menu");
        // From Start, lit as the menu comes up, down to Options.
        for (const char *key : {"Down", "Down", "Return"})
            run.hold_key(key);
        run.wait_for_screen(menu_hidden, "the Options screen");
        for (const char *key : {"Down", "Down", "Return", "a", "Escape"})
            run.hold_key(key);
        start_game(run);
        run.hold_key("Left", 500);
        pause_ms(GLIDE_MS);
        const ExitStatus status = end_game(run);
        ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);
        saved = run.file("save.dat").value_or(Bytes{});
        ASSERT_EQ(saved.size(), SAVE_FILE_SIZE);
        EXPECT_EQ(decoded(saved).player.pos.x, PLAYER_START_X) << "the Left arrow still steers";
        options_file = run.file("options.ini").value_or(Bytes{});
        const std::string text(options_file.begin(), options_file.end());
        EXPECT_NE(text.find("key_left = A\n"), std::string::npos) << text;
    }
    SCOPED_TRACE("second run: Continue, then A");
    GameOptions options;
    options.save = saved;
    options.files = {{"options.ini", options_file}};
    GameRun run(options);
    run.wait_for_window();
    continue_game(run);
    run.hold_key("a", 500);
    pause_ms(GLIDE_MS);
    const ExitStatus status = end_game(run);
    ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);
    const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
    EXPECT_EQ(game.player.fw, FW_LEFT);
    EXPECT_LT(game.player.pos.x, PLAYER_START_X);
    EXPECT_EQ(game.player.pos.y, PLAYER_START_Y);
}

} // namespace
