// A replay that no longer plays as it was recorded: watching it (--replay)
// and verifying it (--verify) both stop at the pass where it went another
// way and answer 3; the same replay unchanged answers 0.
#include "../headless.h"

#include "shell/replay_file.h"
#include "shell/replay_watch.h"
#include "shell/waits.h"

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
    REPLAY changed = demo;
    INPUT_RECORD steer_left{};
    steer_left.left = true;
    const uint16_t left = pack_record(steer_left);
    for (std::size_t pass = 100; pass < 160; pass++)
        changed.passes[pass] = left;
    const struct {
        const char *what;
        const REPLAY &replay;
        int status;
    } cases[] = {{"as recorded", demo, 0}, {"one record changed", changed, 3}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<unsigned char> bytes = encode_replay(c.replay);
        FILE *file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        EXPECT_EQ(verify_replay(path), c.status);
        EXPECT_EQ(watch_replay(c.replay, path, true), c.status);
    }
}

} // namespace
