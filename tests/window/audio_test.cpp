// The game heard, in the real window: the music after Start and still after the
// tune's end (it loops), each sound effect at the moment its event happens and over
// soon after, a silent but whole game on a machine without a sound device, and M's
// silence, kept into the next run; the music's volume from options.ini. What the game plays is
// caught per run through ALSA (see audio_capture.h).
#include "audio_capture.h"
#include "crafted_save.h"
#include "menu_screen.h"
#include "real_window.h"
#include "shell/files/save_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace window_test;

namespace {

using Clock = std::chrono::steady_clock;

// The town tune: 32 bars of four beats at 132 a minute.
constexpr double TUNE_SECONDS = 32 * 4 * 60.0 / 132;
// Well past the tune's end and the last notes' ring, well before a second time round
// could end: without the loop this stretch is silence.
constexpr double AFTER_THE_END_FROM_S = TUNE_SECONDS + 2;
constexpr double AFTER_THE_END_TO_S = TUNE_SECONDS + 4;
// The music plays near -29 dBFS; anything that sounds at all is far above this.
constexpr double SOUNDING_DBFS = -55;
// A sound effect found in the capture correlates near 1 with its file, the music under
// it taking a little; the music alone fits the fanfare's major chord at about 0.35 and
// the other effects at about 0.15. Found, the effect's own part of the capture is also
// well above the share of it that the music alone has.
constexpr double EFFECT_FOUND = 0.6;
constexpr double EFFECT_ABSENT = 0.45;
constexpr double EFFECT_RISE_DB = 10;
// An effect has ended this long after its own length: from there on a stretch twice
// its length holds no whole copy of it.
constexpr int ENDED_WITHIN_S = 1;
// Long enough after Continue for the fanfare (1 s) to have played out whole, and
// for the stretch where it must have ended.
constexpr int EFFECT_LISTEN_MS = 3000;

void pause_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The capture's size once `seconds` have passed since `from`.
long size_at(const AudioCapture &capture, Clock::time_point from, double seconds) {
    std::this_thread::sleep_until(
        from + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
    return capture.size();
}

TEST(MusicLoop, PlaysAfterStartAndGoesOnPastTheTunesEnd) {
    AudioCapture capture;
    GameOptions options;
    options.home = capture.home();
    // Trains that stand still never shoot: no game over restarts the music early.
    options.settings = "0";
    GameRun run(options);
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    pause_ms(500);
    const long before_start = capture.size();
    ASSERT_GT(before_start, 0) << "nothing reached the capture: the sound driver is not ALSA";
    EXPECT_TRUE(capture.silent_until(before_start))
        << "sound before any game, or samples that are not unsigned 16-bit";

    press_button(run, START_BOX);
    const auto started = Clock::now();
    run.wait_for_screen(menu_hidden, "the game after Start");
    const long early_from = size_at(capture, started, 1);
    const long early_to = size_at(capture, started, 4);
    const long late_from = size_at(capture, started, AFTER_THE_END_FROM_S);
    const long late_to = size_at(capture, started, AFTER_THE_END_TO_S);
    const double early = rms_dbfs(capture.mono(early_from, early_to));
    const double late = rms_dbfs(capture.mono(late_from, late_to));
    std::printf("music %.1f dBFS at 1-4 s, %.1f dBFS at %.0f-%.0f s (tune %.1f s)\n", early, late,
                AFTER_THE_END_FROM_S, AFTER_THE_END_TO_S, TUNE_SECONDS);
    EXPECT_GT(early, SOUNDING_DBFS) << "no music after Start";
    EXPECT_GT(late, SOUNDING_DBFS) << "the music stopped at the tune's end";

    const ExitStatus status = end_game(run);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
}

const char *const EFFECTS[] = {"eat.wav", "attact.wav", "tada.wav"};

std::vector<double> effect(const std::string &name) {
    return effect_as_played(std::string(TARVELLION_WINDOW_DATA_DIR) + "/" + name);
}

struct Heard {
    std::vector<double> capture;
    std::map<std::string, Match> matches; // where each effect fits best in it
};

// Continues `game` and returns what the game played from the click on Continue
// to a few seconds later, and where each sound effect fits best in it.
Heard listen_after_continue(const SavedGame &game) {
    AudioCapture capture;
    GameOptions options;
    options.home = capture.home();
    options.save = save_bytes(game);
    GameRun run(options);
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    const long before = capture.size();
    press_button(run, CONTINUE_BOX);
    run.wait_for_screen(menu_hidden, "the game after Continue");
    pause_ms(EFFECT_LISTEN_MS);
    Heard heard;
    heard.capture = capture.mono(before, capture.size());
    const ExitStatus status = end_game(run);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);

    std::printf("  all of it %.1f dBFS\n", rms_dbfs(heard.capture));
    for (const char *name : EFFECTS) {
        const Match match = best_match(heard.capture, effect(name));
        heard.matches[name] = match;
        std::printf("  %-10s correlation %.2f, %.1f dBFS\n", name, match.correlation,
                    match.level_dbfs);
    }
    return heard;
}

// How well the effect found at `found` fits the capture from a second after its
// end, over twice its length: near 1 if it sounds again there, low for the music
// alone, 0 for silence.
double fit_after_the_end(const std::vector<double> &capture, const std::string &name,
                         const Match &found) {
    const std::vector<double> sound = effect(name);
    const std::size_t from = found.at + sound.size() + ENDED_WITHIN_S * CAPTURE_RATE;
    const std::size_t to = from + 2 * sound.size();
    if (to > capture.size())
        throw std::runtime_error("the capture ends before " + name + " could be heard ending");
    return best_match(std::vector<double>(capture.begin() + static_cast<long>(from),
                                          capture.begin() + static_cast<long>(to)),
                      sound)
        .correlation;
}

struct EffectCase {
    const char *name;
    void (*arrange)(SavedGame &);
    const char *expected; // the effect's file
};

const EffectCase EFFECT_CASES[] = {
    {"a fruit under the player", [](SavedGame &g) { g.fruit[0].pos = g.player.pos; }, "eat.wav"},
    // Three passes from touching the player, flying at it.
    {"a shot about to hit",
     [](SavedGame &g) {
         g.fire[0] = {FW_DOWN, 5, -1, {g.player.pos.x, g.player.pos.y - 30}};
     },
     "attact.wav"},
    {"the score at the extra-life mark", [](SavedGame &g) { g.unit.score = g.player.maxjy; },
     "tada.wav"},
};

TEST(GameSounds, EachEventPlaysItsOwnSoundOnceAndNoOther) {
    std::printf("nothing happens:\n");
    const std::map<std::string, Match> quiet = listen_after_continue(quiet_game()).matches;
    for (const char *effect : EFFECTS)
        EXPECT_LT(quiet.at(effect).correlation, EFFECT_ABSENT) << effect << " heard unbidden";

    for (const EffectCase &c : EFFECT_CASES) {
        SCOPED_TRACE(c.name);
        std::printf("%s:\n", c.name);
        SavedGame game = quiet_game();
        c.arrange(game);
        const Heard heard = listen_after_continue(game);
        for (const char *effect : EFFECTS) {
            const Match &match = heard.matches.at(effect);
            if (std::strcmp(effect, c.expected) != 0) {
                EXPECT_LT(match.correlation, EFFECT_ABSENT) << effect << " heard";
                continue;
            }
            EXPECT_GT(match.correlation, EFFECT_FOUND) << effect << " not heard";
            EXPECT_GT(match.level_dbfs, quiet.at(effect).level_dbfs + EFFECT_RISE_DB)
                << effect << " no louder than what the music alone has of it";
            const double after = fit_after_the_end(heard.capture, effect, match);
            std::printf("  %-10s correlation %.2f from %d s after its end\n", effect, after,
                        ENDED_WITHIN_S);
            EXPECT_LT(after, EFFECT_ABSENT) << effect << " still sounds after its end";
        }
    }
}

TEST(NoSoundDevice, TheGamePlaysSilentlyAndEndsCleanly) {
    if (std::filesystem::exists("/dev/dsp"))
        GTEST_SKIP() << "this machine has an OSS sound device, which the game would use";
    ScratchHome home(asoundrc_without_a_card());
    GameOptions options;
    options.home = home.path();
    GameRun run(options);
    run.wait_for_window();
    start_game(run);
    run.hold_key("Right", 300);
    pause_ms(700);
    EXPECT_FALSE(run.answer_message(0.5)) << "the game showed a message";
    const ExitStatus status = end_game(run);
    ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);
    EXPECT_EQ(run.file("save.dat").value_or(Bytes{}).size(), SAVE_FILE_SIZE)
        << "the game was not played through to its save";
    EXPECT_EQ(run.errors().find("ALSA"), std::string::npos) << run.errors();
}

} // namespace

namespace {

// M in the menu, then a game: nothing sounds; the choice is kept in options.ini,
// and the next run, given that file, is silent too until M brings the music.
TEST(Mute, MSilencesEverythingAndANewRunStaysSilentUntilMAgain) {
    Bytes options_file;
    {
        SCOPED_TRACE("first run: M in the menu");
        AudioCapture capture;
        GameOptions options;
        options.home = capture.home();
        GameRun run(options);
        run.wait_for_window();
        run.wait_for_screen(menu_shown, "the start menu");
        run.hold_key("m");
        start_game(run);
        pause_ms(2000);
        const long heard = capture.size();
        ASSERT_GT(heard, 0) << "nothing reached the capture: the sound driver is not ALSA";
        EXPECT_TRUE(capture.silent_until(heard)) << "sound while muted";
        const ExitStatus status = end_game(run);
        EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
        options_file = run.file("options.ini").value_or(Bytes{});
        EXPECT_NE(std::string(options_file.begin(), options_file.end()).find("mute = 1\n"),
                  std::string::npos);
    }
    {
        SCOPED_TRACE("second run: its options.ini");
        AudioCapture capture;
        GameOptions options;
        options.home = capture.home();
        options.files = {{"options.ini", options_file}};
        GameRun run(options);
        run.wait_for_window();
        start_game(run);
        pause_ms(1500);
        const long before_m = capture.size();
        EXPECT_TRUE(capture.silent_until(before_m)) << "sound in a run that starts muted";
        run.hold_key("m");
        const auto pressed = Clock::now();
        const long from = size_at(capture, pressed, 1);
        const long to = size_at(capture, pressed, 3);
        const double music = rms_dbfs(capture.mono(from, to));
        std::printf("after M: %.1f dBFS\n", music);
        EXPECT_GT(music, SOUNDING_DBFS) << "no music after M";
        const ExitStatus status = end_game(run);
        EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
        const Bytes kept = run.file("options.ini").value_or(Bytes{});
        EXPECT_NE(std::string(kept.begin(), kept.end()).find("mute = 0\n"), std::string::npos);
    }
}

// The same stretch of the tune after Start, at music volume 10 and at 5: half
// the amplitude, 6 dB down.
TEST(MusicVolume, FiveIsAboutSixDecibelsBelowTen) {
    double level[2];
    for (int volume : {10, 5}) {
        SCOPED_TRACE("music_volume = " + std::to_string(volume));
        AudioCapture capture;
        GameOptions options;
        options.home = capture.home();
        options.settings = "0"; // the trains stand still: no shot, no effect
        const std::string line = "music_volume = " + std::to_string(volume) + "\n";
        options.files = {{"options.ini", Bytes(line.begin(), line.end())}};
        GameRun run(options);
        run.wait_for_window();
        run.wait_for_screen(menu_shown, "the start menu");
        press_button(run, START_BOX);
        const auto started = Clock::now();
        run.wait_for_screen(menu_hidden, "the game after Start");
        const long from = size_at(capture, started, 1);
        const long to = size_at(capture, started, 4);
        level[volume == 5] = rms_dbfs(capture.mono(from, to));
        const ExitStatus status = end_game(run);
        EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
    }
    std::printf("music at volume 10: %.2f dBFS, at 5: %.2f dBFS (%.2f dB apart)\n", level[0],
                level[1], level[0] - level[1]);
    EXPECT_GT(level[1], SOUNDING_DBFS);
    EXPECT_NEAR(level[0] - level[1], 6.0, 1.0);
}

} // namespace
