// Start-up as a player meets it: the command line's help, version and a bad
// option, without a display, without its pictures, and the window's title
// and size as the settings ask.
#include "menu_screen.h"
#include "real_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace window_test;

// The program as a terminal user runs it: these end before any window.
TEST(CommandLine, HelpVersionAndBadOptionsAnswerOnTheTerminal) {
    const struct {
        std::vector<std::string> arguments;
        int code;
        const char *out, *err; // expected within stdout and stderr; "" for empty
    } cases[] = {
        {{"--help"}, 0, "Usage: tarvellion [OPTION]...", ""},
        {{"--help"}, 0, "--scale N", ""},
        {{"--version"}, 0, "Tarvellion " TARVELLION_VERSION, ""},
        {{"--fullscreen", "--bogus"}, 2, "", "unknown option '--bogus'"},
        {{"--scale", "0"}, 2, "", "Usage: tarvellion"},
        {{"--scale"}, 2, "", "--scale needs a whole number"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.back());
        GameOptions options;
        options.display = false;
        options.data = false;
        options.arguments = c.arguments;
        GameRun run(options);
        const ExitStatus status = run.wait_exit(10);
        ASSERT_TRUE(status.exited) << to_string(status);
        EXPECT_EQ(status.code, c.code);
        for (const auto &[got, wanted] : {std::pair{run.output(), c.out}, {run.errors(), c.err}}) {
            if (*wanted)
                EXPECT_NE(got.find(wanted), std::string::npos) << got;
            else
                EXPECT_EQ(got, "");
        }
    }
}

TEST(GameStartup, WithoutADisplayStopsWithAMessage) {
    GameOptions options;
    options.display = false;
    GameRun run(options);
    const ExitStatus status = run.wait_exit(10);
    ASSERT_TRUE(status.finished) << "the game still runs without a display";
    EXPECT_TRUE(status.exited) << to_string(status);
    EXPECT_EQ(status.code, 1);
    EXPECT_NE(run.errors().find("graphical display"), std::string::npos)
        << "stderr: " << run.errors();
}

// The build tree's program started from a folder without the data, as from
// the repository's root, finds it beside itself.
TEST(GameStartup, FromTheBuildTreeFindsItsDataFromAnywhere) {
    GameOptions options;
    options.data = false;
    GameRun run(options);
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    EXPECT_TRUE(end_game(run).exited);
}

// A copy of the program alone in a folder: a build tree's program would
// find the data linked in beside it.
TEST(GameStartup, MissingGameOverPictureIsShownAsAMessage) {
    const std::filesystem::path alone =
        std::filesystem::temp_directory_path() / ("tarvellion-alone-" + std::to_string(getpid()));
    std::filesystem::create_directories(alone);
    std::filesystem::copy_file(TARVELLION_GAME_PATH, alone / "tarvellion",
                               std::filesystem::copy_options::overwrite_existing);
    GameOptions options;
    options.data = false;
    options.program = alone / "tarvellion";
    GameRun run(options);
    EXPECT_EQ(run.answer_message(15).value_or("no message"), "Can't open file lost.dat !!!");
    const ExitStatus status = run.wait_exit(10);
    ASSERT_TRUE(status.finished) << "the game went on without its pictures";
    EXPECT_TRUE(status.exited) << to_string(status);
    EXPECT_NE(status.code, 0);
    std::filesystem::remove_all(alone);
}

TEST(GameWindow, TitleAndSizeFollowTheSettings) {
    struct Case {
        const char *settings;
        int width, height;
    };
    for (const Case &c : {Case{nullptr, 640, 480}, Case{"2 20 6 4 15 16 2 800 600", 800, 600}}) {
        SCOPED_TRACE(c.settings ? c.settings : "no setting.ini");
        GameOptions options;
        if (c.settings)
            options.settings = c.settings;
        GameRun run(options);
        run.wait_for_window();
        EXPECT_EQ(run.title(), "Tarvellion");
        EXPECT_EQ(run.window_size(), std::make_pair(c.width, c.height));

        const ScreenImage shot = run.wait_for_screen(menu_shown, "the start menu");
        EXPECT_EQ(shot.width(), c.width);
        EXPECT_EQ(shot.height(), c.height);
        // Beyond the 640 x 480 background the cleared frame's green shows.
        if (c.width > 640) {
            EXPECT_TRUE(shot.at(c.width - 1, c.height - 1).near({0, 128, 0}, ANY_DEPTH_TOLERANCE))
                << to_string(shot.at(c.width - 1, c.height - 1));
        }
    }
}
