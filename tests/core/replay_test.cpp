// The replay's file image: what is encoded reads back the same, and what the
// encoder would not have written is refused with a reason, never played.
#include "core_fixture.h"

#include "core/level_setup.h"
#include "core/random.h"
#include "core/pass.h"
#include "core/replay.h"

#include <string>
#include <vector>

namespace {

REPLAY a_game() {
    next_game_seed = 99;
    game_initdata();
    REPLAY r = replay_of_now(false);
    for (int pass = 0; pass < 1000; pass++) {
        INPUT_RECORD in{};
        in.left = pass % 300 < 150;
        in.up = pass % 100 < 30;
        r.passes.push_back(pack_record(in));
        play_pass(in);
    }
    r.checkpoints = {{256, 1}, {1000, 2}};
    return r;
}

TEST_F(Core, AReplayReadsBackAsItWasWritten) {
    const REPLAY r = a_game();
    const std::vector<unsigned char> bytes = encode_replay(r);
    EXPECT_LT(bytes.size(), 2484u + 200) << "runs of the same record take a few bytes each";
    REPLAY back;
    ASSERT_EQ(decode_replay(bytes.data(), bytes.size(), back), "");
    EXPECT_EQ(back.passes, r.passes);
    EXPECT_EQ(encode_replay(back), bytes);
    EXPECT_EQ(unpack_record(pack_record(unpack_record(0x3FFF))).away, true);
}

TEST_F(Core, WhatTheEncoderWouldNotWriteIsRefused) {
    const std::vector<unsigned char> good = encode_replay(a_game());
    const struct {
        const char *what;
        std::size_t at; // a byte set to value, or the length cut to `at` when value < 0
        int value;
        const char *reason; // the start of the message
    } cases[] = {
        {"another file", 0, 'X', "not a Tarvellion replay"},
        {"a version from the future", 4, 2, "a replay of format version 2"},
        {"cut short", good.size() - 1, -1, "a damaged replay"},
        {"cut in its header", good.size() / 2, -1, "a damaged replay (cut short)"},
        {"a field of no size", 24 + 28 + 8 + 2 + 20, 0, "a damaged replay (its start)"},
        {"a delay of a day", 24 + 4 + 3, 0x7F, "a damaged replay (its start)"},
        {"a run of no passes", 24 + 28 + 8 + 2 + 2484 + 1, 0, "a damaged replay (its passes)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> bytes = good;
        if (c.value < 0)
            bytes.resize(c.at);
        else
            bytes[c.at] = static_cast<unsigned char>(c.value);
        REPLAY r;
        EXPECT_EQ(decode_replay(bytes.data(), bytes.size(), r).rfind(c.reason, 0), 0u)
            << decode_replay(bytes.data(), bytes.size(), r);
    }
}

} // namespace
