// The game started with settings and save files a player may be handed: each
// either plays (a game is started or continued, played and ended, exit code 0,
// a usable save written) or stops by itself with a message and a non-zero exit
// code within five seconds. It never hangs and never dies by a signal.
#include "crafted_save.h"
#include "menu_screen.h"
#include "real_window.h"
#include "shell/files/save_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sys/stat.h>
#include <thread>

using namespace window_test;

namespace {

constexpr double STOP_WITHIN_S = 5;

Bytes random_bytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (unsigned char &b : bytes)
        b = static_cast<unsigned char>(random());
    return bytes;
}

// A game as a fresh Start leaves it, changed by `edit`, as save file bytes.
template <class Edit> Bytes save_with(Edit edit) {
    SavedGame game = started_game();
    edit(game);
    return save_bytes(game);
}

struct Hostile {
    const char *name;
    std::optional<std::string> settings;
    std::optional<Bytes> save;
    bool save_is_directory = false;
    int play_s = 1; // how long to play before ending the game
};

void PrintTo(const Hostile &h, std::ostream *out) {
    *out << h.name;
}

Hostile settings(const char *name, std::string text) {
    return {name, std::move(text), {}};
}
Hostile save(const char *name, Bytes bytes) {
    return {name, {}, std::move(bytes)};
}

Bytes truncated(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

const Hostile CASES[] = {
    settings("SettingsOfRandomBytes",
             std::string(reinterpret_cast<const char *>(random_bytes(300, 1).data()), 300)),
    settings("SettingsAllHugelyNegative",
             "-999999 -999999 -999999 -999999 -999999 -999999 -999999 -999999 -999999"),
    settings("SettingsBeyondInt", "99999999999999999999 99999999999999999999 7 7 7"),
    settings("SettingsTextMode", "1 30 5 5 10 32 -1"),
    settings("SettingsTinyWindow", "1 30 5 5 10 32 2 50 50"),
    settings("SettingsZeroSpeedsAt8Bits", "0 0 0 0 0 8"),
    settings("SettingsOddSizeAt15Bits", "1 30 5 5 100 15 2 401 301"),
    settings("SettingsUnknownDepth", "1 30 5 5 10 12"),
    settings("SettingsEmpty", ""),
    save("SaveEmpty", Bytes{}),
    save("SaveTruncated", truncated(save_with([](SavedGame &) {}), 100)),
    save("SaveOneByteLong", truncated(save_with([](SavedGame &) {}), SAVE_FILE_SIZE + 1)),
    save("SaveHugeFruitCount", save_with([](SavedGame &g) { g.unit.fruitmax = 1000000; })),
    save("SaveNegativeSize", save_with([](SavedGame &g) { g.unit.width = -640; })),
    save("SaveWildDirections", save_with([](SavedGame &g) {
             g.player.fw = 9;
             g.train[2].fw = -77;
         })),
    save("SaveWildSpeeds", save_with([](SavedGame &g) {
             g.player.speed2 = 2000000000;
             g.fire[1].speed = -5;
         })),
    save("SaveOfRandomBytes", random_bytes(SAVE_FILE_SIZE, 2)),
    // The level screens of the level cleared at once last 3.5 s.
    [] {
        Hostile h = save("SaveAtTheLimitsOfItsCounters", save_with([](SavedGame &g) {
                             g.unit.level = INT32_MAX - 1;
                             g.unit.score = INT32_MAX - 5;
                             g.unit.timer = INT32_MAX;
                             g.unit.apples = INT32_MAX;
                             g.player.maxjy = INT32_MAX;
                             // Every fruit under the player: the level is cleared at once.
                             for (int i = 0; i < 12; i++)
                                 g.fruit[i].pos = g.player.pos;
                         }));
        h.play_s = 5;
        return h;
    }(),
    {"SaveIsADirectory", {}, {}, true},
};

class HostileFiles : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileFiles, PlaysOrStopsWithAMessage) {
    const Hostile &hostile = GetParam();
    GameOptions options;
    options.settings = hostile.settings;
    options.save = hostile.save;
    // The menu is looked for at scale 1; the smallest fields settings can ask
    // for would be doubled on this screen.
    options.arguments = {"--scale", "1"};
    const auto started = std::chrono::steady_clock::now();
    GameRun run(options);
    if (hostile.save_is_directory) {
        ASSERT_EQ(mkdir((run.directory() + "/save.dat").c_str(), 0755), 0);
    }

    try {
        run.wait_for_window(STOP_WITHIN_S);
    } catch (const std::exception &stopped) {
        // Waiting for the window answers a message shown instead of it.
        const std::string why = stopped.what();
        const ExitStatus status = run.wait_exit(STOP_WITHIN_S);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        EXPECT_NE(why.find("shows a message"), std::string::npos) << why;
        EXPECT_TRUE(status.exited && status.code != 0) << to_string(status);
        EXPECT_LT(seconds, 2 * STOP_WITHIN_S * slowdown()) << why;
        return;
    }

    run.wait_for_screen(menu_shown, "the start menu");
    const Box &choice = hostile.save || hostile.save_is_directory ? CONTINUE_BOX : START_BOX;
    press_button(run, choice);
    // A save that clears its level at once shows the level screens first.
    run.wait_for_screen(menu_hidden, "the game", 10);
    run.hold_key("Right", 300);
    std::this_thread::sleep_for(std::chrono::seconds(hostile.play_s));

    if (hostile.save_is_directory) {
        run.hold_key("Escape");
        run.wait_for_screen(menu_shown, "the menu after Esc");
        press_button(run, END_BOX);
        const std::optional<std::string> message = run.answer_message(STOP_WITHIN_S);
        ASSERT_TRUE(message.has_value()) << "a save that failed was not reported";
        EXPECT_NE(message->find("save.dat"), std::string::npos) << *message;
        const ExitStatus status = run.wait_exit(STOP_WITHIN_S);
        EXPECT_TRUE(status.exited && status.code == 1) << to_string(status);
        return;
    }

    const ExitStatus status = end_game(run);
    ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);
    const Bytes saved = run.file("save.dat").value_or(Bytes{});
    ASSERT_EQ(saved.size(), SAVE_FILE_SIZE);
    const SavedGame game = decoded(saved);
    EXPECT_TRUE(save_is_playable(game));
    EXPECT_EQ(game.unit.end, 1);
    EXPECT_EQ(game.unit.pause, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFiles, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<Hostile> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
