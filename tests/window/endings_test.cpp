// Every way a session can end keeps the game: the signals of a logout or a
// terminal and the X server going away save the game in progress and exit
// cleanly, in play and in the screens that wait; and a level's start is saved,
// so even a kill that cannot be caught loses at most the level in progress.
#include "crafted_save.h"
#include "menu_screen.h"
#include "real_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

using namespace window_test;

namespace {

void pause_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

constexpr int FRUIT_POINTS = 10; // what each fruit of the crafted game is worth
constexpr int SETTLE_MS = 700;   // passes enough for the game to take in what it was given

// The crafted game with its first fruit under the player: the first pass of
// play collects it.
SavedGame fruit_under_the_player() {
    SavedGame game = started_game();
    game.fruit[0].pos = game.player.pos;
    return game;
}

// Continues the given game and lets it play a moment.
void continue_and_settle(GameRun &run) {
    run.wait_for_window();
    continue_game(run);
    pause_ms(SETTLE_MS);
}

enum class Ending { terminate, hang_up, interrupt, display_gone };

struct EndingCase {
    const char *name;
    Ending ending;
};

void PrintTo(const EndingCase &c, std::ostream *out) {
    *out << c.name;
}

void end_session(GameRun &run, Ending ending) {
    switch (ending) {
    case Ending::terminate:
        run.send_signal(SIGTERM);
        break;
    case Ending::hang_up:
        run.send_signal(SIGHUP);
        break;
    case Ending::interrupt:
        run.send_signal(SIGINT);
        break;
    case Ending::display_gone:
        run.end_display();
        break;
    }
}

void expect_clean_exit(const ExitStatus &status) {
    EXPECT_TRUE(status.finished) << "the game did not end";
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
}

const EndingCase ENDINGS[] = {{"SIGTERM", Ending::terminate},
                              {"SIGHUP", Ending::hang_up},
                              {"SIGINT", Ending::interrupt},
                              {"XServerGone", Ending::display_gone}};

class SessionEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(SessionEnding, SavesTheGameInProgressAndExitsCleanly) {
    GameOptions options;
    options.save = save_bytes(fruit_under_the_player());
    GameRun run(options);
    continue_and_settle(run);
    end_session(run, GetParam().ending);
    expect_clean_exit(run.wait_exit(10));

    const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
    EXPECT_EQ(game.unit.level, 1);
    EXPECT_EQ(game.unit.apples, 1) << "the fruit collected in this session";
    EXPECT_EQ(game.unit.score, FRUIT_POINTS);
    EXPECT_EQ(game.fruit[0].live, 0);
    EXPECT_GT(game.unit.timer, 0);
    EXPECT_EQ(game.unit.end, 1);
    EXPECT_EQ(game.unit.pause, 0);
}

INSTANTIATE_TEST_SUITE_P(Endings, SessionEnding, ::testing::ValuesIn(ENDINGS),
                         [](const ::testing::TestParamInfo<EndingCase> &info) {
                             return std::string(info.param.name);
                         });

// The library's own handlers used to abort now and then while the game slept
// between passes; the signals come at different moments of play here. The
// sanitizer run, whose leak scan alone makes each exit seconds long, plays
// fewer rounds.
TEST(SessionEnding, SignalsInPlayNeverCrashOrHang) {
    const int signals[] = {SIGTERM, SIGHUP, SIGINT};
    const int rounds = static_cast<int>(20 / slowdown());
    for (int round = 0; round < rounds; round++) {
        const int signal = signals[round % 3];
        SCOPED_TRACE("round " + std::to_string(round) + ", " + strsignal(signal));
        GameRun run;
        run.wait_for_window();
        start_game(run);
        pause_ms(37 * round % 300);
        run.send_signal(signal);
        expect_clean_exit(run.wait_exit(10));
        EXPECT_EQ(decoded(run.file("save.dat").value_or(Bytes{})).unit.level, 1);
    }
}

// The game-over picture waits for a key; the game then begins anew, and it is
// that new game a logout keeps.
TEST(SessionEnding, DuringTheGameOverKeyWaitSavesTheNewGame) {
    SavedGame lost = started_game();
    lost.unit.level = 3;
    lost.player.live = 0;
    lost.player.maxjy = 28000;
    GameOptions options;
    options.save = save_bytes(lost);
    GameRun run(options);
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    press_button(run, CONTINUE_BOX);
    // The picture's own 2 s wait, then the key wait.
    pause_ms(static_cast<int>(3000 * slowdown()));
    run.send_signal(SIGTERM);
    expect_clean_exit(run.wait_exit(10));

    // A new game's fruit may lie under the player: its score is not told.
    const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
    EXPECT_EQ(game.unit.level, 1);
    EXPECT_EQ(game.player.live, 3);
    EXPECT_EQ(game.player.maxjy, 8000);
}

TEST(LevelStart, IsSavedSoAKilledGameResumesThere) {
    SavedGame last_fruit = fruit_under_the_player();
    last_fruit.unit.level = 4;
    for (int i = 1; i < last_fruit.unit.fruitmax; i++)
        last_fruit.fruit[i].live = 0;
    Bytes killed_save;
    {
        SCOPED_TRACE("clear level 4, killed in level 5");
        GameOptions options;
        options.save = save_bytes(last_fruit);
        GameRun run(options);
        continue_and_settle(run);
        // "Great!  Go on!" and "Level 5" take 3.5 s.
        pause_ms(static_cast<int>(4500 * slowdown()));
        run.send_signal(SIGKILL);
        run.wait_exit(5);
        killed_save = run.file("save.dat").value_or(Bytes{});
        const SavedGame game = decoded(killed_save);
        EXPECT_EQ(game.unit.level, 5);
        EXPECT_EQ(game.unit.fruitmax, 14);
        EXPECT_EQ(game.unit.score, FRUIT_POINTS);
        EXPECT_EQ(game.player.pos.x, 304);
        EXPECT_EQ(game.player.pos.y, 224);
    }
    {
        SCOPED_TRACE("Continue in a new run");
        GameOptions options;
        options.save = killed_save;
        GameRun run(options);
        continue_and_settle(run);
        expect_clean_exit(end_game(run));
        // Level 5's fruit lie where they fell; one may lie in the player's way.
        const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
        EXPECT_EQ(game.unit.level, 5);
        EXPECT_EQ(game.unit.fruitmax, 14);
        EXPECT_GE(game.unit.score, FRUIT_POINTS);
    }
}

} // namespace
