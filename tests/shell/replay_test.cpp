// A replay that no longer plays as it was recorded: watching it (--replay)
// and verifying it (--verify) both stop at the pass where it went another
// way, name it and answer 3; the same replay unchanged answers 0, and one of a
// newer format version is refused with 2 before it plays.
#include "../headless.h"

#include "shell/files/replay_file.h"
#include "shell/flow/replay_watch.h"
#include "shell/flow/waits.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

class Replays : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        load_assets();
    }
    void TearDown() override {
        wait_clock = clock_ms;
        std::remove(path.c_str());
        Headless::TearDown();
    }
    const std::string path = testing::TempDir() + "changed.replay";
};

TEST_F(Replays, OneGoingAnotherWayIsCaughtWhetherWatchedOrVerified) {
    REPLAY demo;
    ASSERT_EQ(read_replay(std::string(data_dir()) + "/demo.replay", demo), "");
    ASSERT_GT(demo.passes.size(), 400u);
    // The player steered left for two seconds where the recording went its way.
    REPLAY steered = demo;
    INPUT_RECORD steer_left{};
    steer_left.left = true;
    for (std::size_t pass = 100; pass < 160; pass++)
        steered.passes[pass] = pack_record(steer_left);
    // The next level's fruit come from another generator.
    REPLAY reseeded = demo;
    reseeded.random_state ^= 0x100;
    const struct {
        const char *what;
        const REPLAY &replay;
        uint32_t format; // written over the file's
        int status;
        const char *told; // on the standard error
    } cases[] = {
        {"as recorded", demo, REPLAY_FORMAT, 0, ""},
        {"one record changed", steered, REPLAY_FORMAT, 3, "goes another way by pass 256"},
        {"a byte of the generator's start changed", reseeded, REPLAY_FORMAT, 3,
         "goes another way by pass"},
        {"a newer format", demo, REPLAY_FORMAT + 1, 2, "a replay of format version"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> bytes = encode_replay(c.replay);
        for (int i = 0; i < 4; i++)
            bytes[4 + i] = static_cast<unsigned char>(c.format >> (8 * i));
        FILE *file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        testing::internal::CaptureStderr();
        EXPECT_EQ(verify_replay(path), c.status);
        if (c.format == REPLAY_FORMAT) {
            EXPECT_EQ(watch_replay(c.replay, path, true), c.status);
        }
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_NE(told.find(c.told), std::string::npos) << told;
    }
}

} // namespace
