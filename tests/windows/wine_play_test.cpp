// The Windows game played under Wine in a real window, as a Windows player
// plays it: its start, a game played and saved in %APPDATA%\Tarvellion, saved
// games continued and replaced, hostile saves, portable mode in a folder
// named outside the ANSI code page, the session's endings, and the messages
// shown in a box when there is no console.
#include "crafted_save.h"
#include "menu_screen.h"
#include "wine_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <thread>

using namespace window_test;

namespace {

namespace fs = std::filesystem;

constexpr int PLAYER_START_X = 304;
constexpr std::size_t FRUIT_OFFSET = 484; // the fruit table, to the end of the file
// The glide after an arrow key is released lasts five passes at most.
constexpr int GLIDE_MS = 1000;

void pause_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class WindowsGame : public ::testing::Test {
  protected:
    void SetUp() override { fresh_session(); }
};

// The bytes of data/tarvellion-32.png's palette: its PLTE chunk, which is
// stored uncompressed.
std::set<unsigned long> icon_palette() {
    std::ifstream in(std::string(TARVELLION_WINDOW_DATA_DIR) + "/tarvellion-32.png",
                     std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto at = png.find("PLTE");
    std::set<unsigned long> colours;
    if (at == std::string::npos || at < 4)
        return colours;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(png[i]); };
    const std::size_t length =
        byte(at - 4) << 24 | byte(at - 3) << 16 | byte(at - 2) << 8 | byte(at - 1);
    for (std::size_t i = at + 4; i + 2 < at + 4 + length; i += 3)
        colours.insert(static_cast<unsigned long>(byte(i)) << 16 | byte(i + 1) << 8 | byte(i + 2));
    return colours;
}

TEST_F(WindowsGame, WithoutADisplayEndsWithCode1Quickly) {
    GameOptions options = windows_game();
    options.display = false;
    const auto started = std::chrono::steady_clock::now();
    GameRun run(options);
    const ExitStatus status = run.wait_exit(15);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_TRUE(status.finished) << "still running without a display";
    EXPECT_TRUE(status.exited && status.code == 1) << to_string(status);
    EXPECT_LT(seconds, 10 * slowdown());
    EXPECT_NE(run.errors().find("graphical display"), std::string::npos) << run.errors();
}

TEST_F(WindowsGame, StartsWithTheMenuAndTheGamesIcon) {
    GameRun run(windows_game());
    run.wait_for_window(30);
    EXPECT_EQ(run.window_size(), std::make_pair(640, 480));
    run.wait_for_screen(menu_shown, "the start menu");

    // The window's 32 x 32 icon is the game's: drawn in the colours of the
    // generated picture, where Wine's stand-in icon has none of them.
    const std::vector<unsigned long> icons = run.window_icons();
    const std::set<unsigned long> palette = icon_palette();
    ASSERT_FALSE(palette.empty()) << "tarvellion-32.png has no palette";
    bool found = false;
    for (std::size_t at = 0; at + 2 <= icons.size(); at += 2 + icons[at] * icons[at + 1]) {
        if (icons[at] != 32 || icons[at + 1] != 32 || at + 2 + 32 * 32 > icons.size())
            continue;
        found = true;
        int opaque = 0, in_palette = 0;
        for (std::size_t i = at + 2; i < at + 2 + 32 * 32; i++) {
            if ((icons[i] >> 24) < 0x80)
                continue;
            opaque++;
            in_palette += palette.count(icons[i] & 0xFFFFFF) ? 1 : 0;
        }
        EXPECT_GT(opaque, 32 * 32 / 2);
        EXPECT_EQ(in_palette, opaque);
    }
    EXPECT_TRUE(found) << "no 32 x 32 icon on the window (" << icons.size() << " items)";
}

TEST_F(WindowsGame, EndSavesThePlayedGameInAppData) {
    GameRun run(windows_game());
    run.wait_for_window(30);
    start_game(run);
    run.hold_key("Right", 500);
    pause_ms(GLIDE_MS);
    const ExitStatus status = end_game(run);
    ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);

    const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
    EXPECT_EQ(game.unit.level, 1);
    EXPECT_EQ(game.unit.fruitmax, 12);
    EXPECT_EQ(game.unit.end, 1);
    EXPECT_EQ(game.player.fw, FW_RIGHT);
    EXPECT_GT(game.player.pos.x, PLAYER_START_X);
    EXPECT_GT(game.unit.timer, 0);
    // The game's own folder is only read.
    for (const char *name : {"save.dat", "options.ini", "setting.ini"})
        EXPECT_FALSE(fs::exists(run.directory() + "/" + name)) << name << " beside the program";
}

// A saved game whose fields hold a CR LF pair and lone LF bytes: a reader in
// text mode would take the pair for one byte and refuse the short file, a
// writer in text mode would make every LF two bytes. Continued, played and
// ended twice: each End replaces the file the run before left.
TEST_F(WindowsGame, SaveWithLineBreakBytesIsContinuedAndReplacedTwice) {
    SavedGame crafted = started_game();
    crafted.unit.score = 0x0A0D; // the bytes 0D 0A
    crafted.player.pos = {0x10A, 0x10D};
    crafted.unit.timer = 0x0A;
    const Bytes first = save_bytes(crafted);

    Bytes before = first;
    for (int round = 1; round <= 2; round++) {
        SCOPED_TRACE("run " + std::to_string(round) + ": Continue, Esc, End");
        if (round > 1)
            fresh_session();
        GameOptions options = windows_game();
        options.save = before;
        GameRun run(options);
        run.wait_for_window(30);
        continue_game(run);
        pause_ms(500);
        const ExitStatus status = end_game(run);
        ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);

        const Bytes after = run.file("save.dat").value_or(Bytes{});
        ASSERT_EQ(after.size(), SAVE_FILE_SIZE);
        const SavedGame was = decoded(before);
        const SavedGame is = decoded(after);
        EXPECT_EQ(is.unit.score, crafted.unit.score) << "not the crafted game";
        EXPECT_EQ(is.player.pos.x, crafted.player.pos.x);
        EXPECT_EQ(is.player.pos.y, crafted.player.pos.y);
        EXPECT_EQ(is.player.live, crafted.player.live);
        EXPECT_GT(is.unit.timer, was.unit.timer) << "the file of the run before was not replaced";
        EXPECT_TRUE(
            std::equal(first.begin() + FRUIT_OFFSET, first.end(), after.begin() + FRUIT_OFFSET));
        before = after;
    }
}

struct HostileSave {
    const char *name;
    Bytes bytes;
};

Bytes random_bytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (unsigned char &b : bytes)
        b = static_cast<unsigned char>(random());
    return bytes;
}

TEST_F(WindowsGame, HostileSavesStartANewGame) {
    Bytes truncated = save_bytes(started_game());
    truncated.resize(100);
    Bytes line_breaks(SAVE_FILE_SIZE);
    for (std::size_t i = 0; i < line_breaks.size(); i++)
        line_breaks[i] = i % 2 ? 0x0A : 0x0D;
    const HostileSave cases[] = {{"random bytes", random_bytes(SAVE_FILE_SIZE, 7)},
                                 {"truncated", truncated},
                                 {"CR LF pairs only", line_breaks}};
    for (const HostileSave &hostile : cases) {
        SCOPED_TRACE(hostile.name);
        fresh_session();
        GameOptions options = windows_game();
        options.save = hostile.bytes;
        GameRun run(options);
        run.wait_for_window(30);
        continue_game(run);
        pause_ms(500);
        const ExitStatus status = end_game(run);
        ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);
        const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
        EXPECT_TRUE(save_is_playable(game));
        EXPECT_EQ(game.unit.level, 1) << "not a new game";
        EXPECT_EQ(game.unit.fruitmax, 12) << "not a new game";
    }
}

// Settings and saves in %APPDATA%\Tarvellion, or, with portable.txt beside
// the program, beside it: there in a folder named in Cyrillic, which the
// system's ANSI calls could not even open.
TEST_F(WindowsGame, PlayersFilesGoWherePortableTxtSays) {
    struct Case {
        const char *name;
        bool portable;
    };
    for (const Case &c : {Case{"%APPDATA%\\Tarvellion", false}, Case{"portable", true}}) {
        SCOPED_TRACE(c.name);
        fresh_session();
        GameOptions options = windows_game();
        if (c.portable) {
            options.data = false;
            options.arguments = {portable_game() + "/tarvellion.exe"};
            options.player_dir = portable_game();
        }
        options.settings = "1 30 5 5 10 32 2 800 600";
        GameRun run(options);
        run.wait_for_window(30);
        EXPECT_EQ(run.window_size(), std::make_pair(800, 600)) << "setting.ini was not read";
        start_game(run);
        const ExitStatus status = end_game(run);
        ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);
        EXPECT_EQ(decoded(run.file("save.dat").value_or(Bytes{})).unit.width, 800);
        const std::string elsewhere = c.portable ? appdata_dir() : portable_game();
        EXPECT_FALSE(fs::exists(elsewhere + "/save.dat")) << "a save in " << elsewhere;
    }
}

// The window's close button, and Windows ending the session (Wine's
// `wineboot --end-session` sends every window WM_QUERYENDSESSION and
// WM_ENDSESSION, as a logoff or shutdown does): either saves the game in play.
TEST_F(WindowsGame, ClosingTheWindowOrEndingTheSessionSavesTheGame) {
    struct Case {
        const char *name;
        bool end_session;
    };
    for (const Case &c : {Case{"close button", false}, Case{"end of session", true}}) {
        SCOPED_TRACE(c.name);
        fresh_session();
        GameRun run(windows_game());
        run.wait_for_window(30);
        start_game(run);
        run.hold_key("Right", 500);
        pause_ms(GLIDE_MS);
        if (c.end_session)
            EXPECT_EQ(run_in_prefix({"wineboot", "--end-session"}), 0);
        else
            run.press_close_button();
        const ExitStatus status = run.wait_exit(10);
        ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);
        const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
        // A save from the start of the level has the player where it began.
        EXPECT_GT(game.player.pos.x, PLAYER_START_X);
        EXPECT_GT(game.unit.timer, 0);
    }
}

struct IconPixels {
    int red = 0;  // the error icon's
    int blue = 0; // the information icon's
};

IconPixels icon_pixels(const ScreenImage &box) {
    IconPixels found;
    for (int y = 0; y < box.height(); y++)
        for (int x = 0; x < box.width(); x++) {
            const Rgb p = box.at(x, y);
            found.red += p.r > 160 && p.g < 80 && p.b < 80;
            found.blue += p.b > 160 && p.r < 80;
        }
    return found;
}

// The icon of the message box once it is painted: Wine names the window
// before mapping it, and maps it before drawing in it.
IconPixels shown_icon(GameRun &run) {
    constexpr int ENOUGH = 20;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    IconPixels found;
    while (std::chrono::steady_clock::now() < deadline) {
        try {
            found = icon_pixels(run.screenshot());
            if (found.red > ENOUGH || found.blue > ENOUGH)
                break;
        } catch (const std::exception &) {
            // Not mapped yet.
        }
        pause_ms(200);
    }
    return found;
}

// Started from the Explorer the program has no console: what it would print
// is shown in a message box, with the error icon for a mistake. Wine's
// `start` runs it that way.
TEST_F(WindowsGame, MessagesWithoutAConsoleShowInABox) {
    struct Case {
        const char *argument;
        int code;
        bool error;
    };
    std::map<std::string, int> box_height;
    for (const Case &c :
         {Case{"--version", 0, false}, Case{"--help", 0, false}, Case{"--bogus", 2, true}}) {
        SCOPED_TRACE(c.argument);
        fresh_session();
        GameOptions options = windows_game();
        options.arguments = {"start", "/wait", "/unix", "tarvellion.exe", c.argument};
        GameRun run(options);
        run.wait_for_window(30);
        const IconPixels icon = shown_icon(run);
        const std::pair<int, int> size = run.window_size();
        EXPECT_LT(size.first, 640) << "the game's window instead of a message";
        if (c.error) {
            EXPECT_GT(icon.red, 20) << "no error icon";
        } else {
            EXPECT_TRUE(icon.red == 0 && icon.blue > 20) << "no information icon";
        }
        run.hold_key("Return");
        const ExitStatus status = run.wait_exit(10);
        EXPECT_TRUE(status.exited && status.code == c.code) << to_string(status);
        box_height[c.argument] = size.second;
    }
    // The usage takes lines, the version one; a mistake shows the usage too.
    EXPECT_GT(box_height["--help"], box_height["--version"]);
    EXPECT_GE(box_height["--bogus"], box_height["--help"]);
}

// The golden replays end on Windows as they end on Linux: the same level,
// score and state hash, printed by --verify without a display.
TEST_F(WindowsGame, VerifiesTheGoldenReplaysAsLinuxDoes) {
    for (const auto &entry : fs::directory_iterator(TARVELLION_GOLDEN_DIR)) {
        if (entry.path().extension() != ".replay")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        GameOptions options = windows_game({"--replay", "Z:" + entry.path().string(), "--verify"});
        options.display = false;
        GameRun run(options);
        const ExitStatus status = run.wait_exit(30);
        EXPECT_TRUE(status.exited && status.code == 0) << to_string(status) << run.errors();
        std::ifstream expected(fs::path(entry.path()).replace_extension(".expected"));
        const std::string want((std::istreambuf_iterator<char>(expected)), {});
        std::string got = run.output();
        got.erase(std::remove(got.begin(), got.end(), '\r'), got.end());
        EXPECT_EQ(got, want);
    }
}

} // namespace
