// The world board from the real window, against a board server on loopback:
// the day's challenge played to its game over, the question answered once,
// the game sent and marked on the World page, and the board's copy of it
// played back as the menu's demo plays, the menu coming back after it.
#include "board_server.h"
#include "menu_screen.h"
#include "real_window.h"
#include "core/high_scores.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

using namespace window_test;

namespace {

using Clock = std::chrono::steady_clock;

constexpr Rgb LIT_GREY{227, 227, 227};
constexpr Rgb GOLD{255, 214, 64};
constexpr Rgb WHITE{255, 255, 255};
constexpr Box SEND_CHOICE{220, 200, 420, 222};
constexpr Box DAILY_FIRST_ROW{336, 100, 616, 113};
constexpr Box DEMO_LABEL{200, 425, 440, 455};

Bytes bytes_of(const std::string &text) {
    return Bytes(text.begin(), text.end());
}

// A table no quick game enters, so that no name is asked for: the board
// takes the one in options.ini.
std::string full_table() {
    HIGH_SCORE_TABLE table{};
    for (int i = 0; i < HIGH_SCORE_COUNT; i++)
        insert_high_score(table, HIGH_SCORE{"Best", 1000000, 9, 20260101});
    return encode_high_scores(table);
}

} // namespace

TEST(WorldBoard, TheDailyGameGoesToTheBoardAndPlaysBackFromIt) {
    char folder[] = "/tmp/world-board-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    // Ended and removed however the test ends.
    struct Board {
        std::string folder;
        BOARD_SERVER server = start_board(folder + "/board.sqlite");
        ~Board() {
            stop_board(server);
            std::system(("rm -rf " + folder).c_str());
        }
    } board{folder};
    GameOptions options;
    options.files = {
        {"options.ini", bytes_of("board = http://127.0.0.1:" + std::to_string(board.server.port) +
                                 "\nname = Tester\n")},
        {"highscores.txt", bytes_of(full_table())}};
    GameRun run(options);
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    press_button(run, DAILY_BOX);
    run.wait_for_screen(menu_hidden, "the daily challenge");
    // As fast as the game goes: the board takes a faster game, never a slower.
    for (int i = 0; i < 6; i++)
        run.hold_key("minus");
    auto next_press = Clock::now();
    run.wait_for_screen(
        [](const ScreenImage &s) { return count_in(s, SEND_CHOICE, LIT_GREY) > 2000; },
        "the question whether to send games", 60,
        [&] {
            // The game-over picture takes a key once its own wait is over.
            if (Clock::now() >= next_press) {
                run.hold_key("Right");
                next_press = Clock::now() + std::chrono::milliseconds(700);
            }
        });
    run.hold_key("y");
    run.wait_for_screen(
        [](const ScreenImage &s) { return count_in(s, DAILY_FIRST_ROW, GOLD) > 40; },
        "the game marked first on the day's board", 20);
    const Bytes kept = run.file("options.ini").value_or(Bytes{});
    EXPECT_NE(std::string(kept.begin(), kept.end()).find("send_games = 1"), std::string::npos)
        << "the answer is kept";

    run.hold_key("Right");
    run.hold_key("Return");
    run.wait_for_screen(
        [](const ScreenImage &s) { return menu_hidden(s) && count_in(s, DEMO_LABEL, WHITE) > 40; },
        "the board's copy of the game playing, labelled", 20);
    run.hold_key("Escape");
    run.wait_for_screen(menu_shown, "the menu back after the board's game");
    end_game(run);
}
