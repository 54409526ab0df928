// The replay's file image: what is encoded reads back the same, and what the
// encoder would not have written is refused with a reason, never played.
#include "core_fixture.h"

#include "core/level_setup.h"
#include "core/random.h"
#include "core/pass.h"
#include "core/replay.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
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
        {"a version from the future", 4, 3, "a replay of format version 3"},
        {"a way of beginning of no version", 24 + 28 + 8 + 1, 4, "a damaged replay (its header)"},
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

// A new game recorded as the shell records it (its setup, the pass that began
// it, the passes after), played to its game over or `passes` passes.
REPLAY a_recorded_game(ReplayBegan began, std::size_t passes) {
    INPUT_RECORD start{};
    start.start = true;
    start.up = true;
    next_game_seed = 7;
    if (began == BEGAN_BY_START) {
        show_menu(true);
    } else {
        take_input(start);
        player.live = 0;
        between_levels = SCREEN_HIGH_SCORE;
        start = INPUT_RECORD{};
        start.left = true;
    }
    play_pass(start);
    REPLAY r = latest_new_game_start();
    r.first_record = pack_record(start);
    for (std::size_t pass = 0; pass < passes; pass++) {
        INPUT_RECORD in{};
        in.down = pass % 90 < 40;
        in.right = pass % 200 < 70;
        const bool on = play_pass(in);
        add_pass(r, in);
        if (!on)
            break;
    }
    close_replay(r);
    return r;
}

TEST_F(Core, ANewGamesReplayStartsAtTheGameItsSeedMakes) {
    for (ReplayBegan began : {BEGAN_BY_START, BEGAN_AFTER_GAME_OVER}) {
        SCOPED_TRACE(began);
        SetUp();
        const REPLAY recorded = a_recorded_game(began, 3000);
        const uint32_t end_hash = state_hash();
        const std::vector<unsigned char> bytes = encode_replay(recorded);
        REPLAY r;
        ASSERT_EQ(decode_replay(bytes.data(), bytes.size(), r), "");
        EXPECT_EQ(r.format, REPLAY_FORMAT);
        EXPECT_EQ(r.began, began);

        // From another game altogether, the seed alone makes the same start.
        SetUp();
        next_game_seed = 12345;
        game_initdata();
        for (int level = 0; level < 5; level++)
            game_next();
        play_pass(INPUT_RECORD{});
        const REPLAY made = replay_of_seed(r.seed, began, r.flags);
        EXPECT_EQ(std::memcmp(made.start, r.start, sizeof r.start), 0);
        EXPECT_EQ(made.random_state, r.random_state);

        start_replay(r);
        for (uint16_t pass : r.passes)
            play_pass(unpack_record(pass));
        EXPECT_EQ(state_hash(), end_hash);
        EXPECT_EQ(state_hash(), r.checkpoints.back().hash);
    }
}

TEST_F(Core, AVersionOneReplayStillPlaysToItsEnd) {
    std::ifstream file(TARVELLION_GOLDEN_DIR "/game-over.replay", std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    REPLAY r;
    ASSERT_EQ(decode_replay(bytes.data(), bytes.size(), r), "");
    EXPECT_EQ(r.format, 1u);
    start_replay(r);
    bool on = true;
    for (std::size_t pass = 0; pass < r.passes.size() && on; pass++)
        on = play_pass(unpack_record(r.passes[pass]));
    EXPECT_FALSE(on) << "the game ends in its game over";
    char expected[64];
    std::snprintf(expected, sizeof expected, "level %d, score %d, state hash %08x\n", unit.level,
                  unit.score, state_hash());
    std::ifstream golden(TARVELLION_GOLDEN_DIR "/game-over.expected");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(golden), {}), expected);
}

} // namespace
