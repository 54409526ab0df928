// A finished game that enters the high-score table, played in the real
// window: the game-over picture, the name typed, the table shown with the new
// entry lit, the file and the name kept, and the table under the menu; and a
// session ending while the name is typed.
#include "crafted_save.h"
#include "menu_screen.h"
#include "real_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>

using namespace window_test;

namespace {

using Clock = std::chrono::steady_clock;

constexpr Rgb LIT_YELLOW{255, 255, 0};
constexpr Rgb TEXT_WHITE{255, 255, 255};
constexpr int SCORE = 1234;
// The name line stands in the middle of the 640 x 480 field; the table's
// first row, lit for the new entry, above it.
constexpr Box NAME_LINE{120, 240, 520, 247};
constexpr Box FIRST_ROW{120, 168, 520, 175};
constexpr Box MENU_TABLE{120, 330, 520, 350}; // below the Daily button
constexpr int TEXT_PIXELS = 40;               // a line of text has many more

bool name_asked(const ScreenImage &s) {
    return count_in(s, NAME_LINE, LIT_YELLOW) > TEXT_PIXELS;
}

bool table_with_new_entry(const ScreenImage &s) {
    return count_in(s, FIRST_ROW, LIT_YELLOW) > TEXT_PIXELS && !name_asked(s);
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
    return date;
}

// Continues a game with no lives left and this score, and goes on from the
// game-over picture to the name entry.
void lose_with_score(GameRun &run) {
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    press_button(run, CONTINUE_BOX);
    // The game-over picture takes a key once its own wait is over; an arrow
    // types nothing into the name that follows.
    auto next_press = Clock::now();
    run.wait_for_screen(name_asked, "the name asked for", 15, [&] {
        if (Clock::now() >= next_press) {
            run.hold_key("Right");
            next_press = Clock::now() + std::chrono::milliseconds(700);
        }
    });
}

GameOptions lost_game() {
    SavedGame lost = started_game();
    lost.player.live = 0;
    lost.unit.score = SCORE;
    lost.unit.level = 3;
    GameOptions options;
    options.save = save_bytes(lost);
    return options;
}

std::string text_of(const std::optional<Bytes> &file) {
    return file ? std::string(file->begin(), file->end()) : "";
}

TEST(HighScoreTable, AGameOverWithAGoodScoreAsksForTheNameAndShowsIt) {
    GameRun run(lost_game());
    lose_with_score(run);
    for (const char *key : {"z", "o", "e", "BackSpace", "e"})
        run.hold_key(key);
    run.hold_key("Return");
    run.wait_for_screen(table_with_new_entry, "the table with the new entry lit");

    run.hold_key("space");
    run.wait_for_screen(menu_hidden, "the new game");
    run.hold_key("Escape");
    run.wait_for_screen(
        [](const ScreenImage &s) {
            return menu_shown(s) && count_in(s, MENU_TABLE, TEXT_WHITE) > TEXT_PIXELS;
        },
        "the menu with the table below it");
    press_button(run, END_BOX);
    const ExitStatus status = run.wait_exit(10);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);

    EXPECT_EQ(text_of(run.file("highscores.txt")),
              "Tarvellion high scores 1\n1234 3 " + today() + " zoe\n");
    EXPECT_NE(text_of(run.file("options.ini")).find("name = zoe\n"), std::string::npos);
    const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
    // A fruit of the new game may lie under the player and be taken at once.
    EXPECT_EQ(game.unit.level, 1) << "the new game is what End keeps";
    EXPECT_EQ(game.player.live, 3);

    // The entry's game is kept beside the table, and plays again to its end.
    ASSERT_TRUE(run.file("highscore-1.replay"));
    const std::string verify = std::string(TARVELLION_GAME_PATH) + " --replay " + run.directory() +
                               "/highscore-1.replay --verify";
    FILE *played = popen(verify.c_str(), "r");
    char line[96] = {};
    ASSERT_TRUE(played && std::fgets(line, sizeof line, played));
    EXPECT_EQ(pclose(played), 0);
    EXPECT_EQ(std::string(line).rfind("level 3, score 1234,", 0), 0u) << line;
}

// A logout while the name is typed: the typing ends, the game enters under the
// name offered, and the new game is saved as at any ending.
TEST(HighScoreTable, ASignalWhileTheNameIsTypedStillSavesTheGameAndTheScore) {
    GameRun run(lost_game());
    lose_with_score(run);
    run.hold_key("q");
    run.send_signal(SIGTERM);
    const ExitStatus status = run.wait_exit(10);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
    EXPECT_EQ(text_of(run.file("highscores.txt")),
              "Tarvellion high scores 1\n1234 3 " + today() + " Player\n");
    const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
    EXPECT_EQ(game.unit.level, 1);
    EXPECT_EQ(game.player.live, 3);
}

} // namespace
