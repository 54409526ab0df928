// The game started with one damaged data file among its own, each of a fault
// the library's loaders have: a damaged picture stops start-up with the
// message naming it and exit code 1; a damaged sound, music file, patch or
// patch index is left out, and a game is played and ended as usual - without
// music when the music or its patch set was damaged. The game continued is
// one where nothing happens, so that no effect is taken for the music. Within a few seconds,
// never by a signal, never a hang. The game plays into an ALSA capture, so
// the synthesiser runs and loads its patches as it does with a sound card.
#include "../data_file_samples.h"
#include "audio_capture.h"
#include "crafted_save.h"
#include "menu_screen.h"
#include "real_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace window_test;

namespace samples {
void PrintTo(const Damaged &damaged, std::ostream *out) {
    *out << damaged.name;
}
} // namespace samples

namespace {

using Clock = std::chrono::steady_clock;

constexpr double STOP_WITHIN_S = 5;
// The music plays near -29 dBFS; nothing at all is far below this.
constexpr double SOUNDING_DBFS = -55;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class DamagedData : public ::testing::TestWithParam<samples::Damaged> {};

TEST_P(DamagedData, StopsNamingAPictureOrPlaysWithoutTheSoundOrMusic) {
    const samples::Damaged &damaged = GetParam();
    const std::filesystem::path file = damaged.file;
    const bool picture = file.extension() == ".dat" && file != "town.dat";
    const bool music = file.extension() != ".wav" && !picture;
    AudioCapture capture;
    GameOptions options;
    options.home = capture.home();
    options.files = {{damaged.file, damaged.bytes}};
    options.save = save_bytes(quiet_game());
    const Clock::time_point started = Clock::now();
    GameRun run(options);

    if (picture) {
        const std::optional<std::string> message = run.answer_message(STOP_WITHIN_S);
        ASSERT_TRUE(message.has_value()) << "no message";
        EXPECT_EQ(*message, "Can't open file " + file.string() + " !!!");
        const ExitStatus status = run.wait_exit(STOP_WITHIN_S);
        EXPECT_TRUE(status.exited && status.code == 1) << to_string(status);
        EXPECT_LT(seconds_since(started), 2 * STOP_WITHIN_S * slowdown());
        return;
    }

    run.wait_for_window(STOP_WITHIN_S);
    continue_game(run);
    const long from = capture.size();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double level = rms_dbfs(capture.mono(from, capture.size()));
    EXPECT_FALSE(run.answer_message(0.5)) << "the game showed a message";
    if (music)
        EXPECT_LT(level, SOUNDING_DBFS) << "music played with a damaged " << file;
    else
        EXPECT_GT(level, SOUNDING_DBFS) << "no music with only a sound damaged";
    const ExitStatus status = end_game(run);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedData, ::testing::ValuesIn(samples::damaged_files()),
                         [](const ::testing::TestParamInfo<samples::Damaged> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
