// A game is the same game again from its seed and its input records: the
// core played for thousands of passes twice gives the same records, and so
// does a game saved and loaded half-way through.
#include "core_fixture.h"

#include "core/level_setup.h"
#include "core/random.h"
#include "core/pass.h"
#include "core/save_codec.h"

#include <vector>

namespace {

// A player of the test's own: steering held for a while, now and then a
// speed or lives key, pauses and all.
struct Player {
    uint32_t state;
    int heading = 0;
    bool next(int one_in) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % one_in == 0;
    }
    INPUT_RECORD record() {
        INPUT_RECORD in{};
        if (next(40))
            heading = static_cast<int>(state >> 20) % 5;
        in.left = heading == 1;
        in.right = heading == 2;
        in.up = heading == 3;
        in.down = heading == 4;
        in.pause = next(300);
        in.faster = next(500);
        in.slower = next(500);
        in.more_lives = next(200);
        in.fewer_lives = next(900);
        return in;
    }
};

int fruit_eaten = 0;
int levels_started = 0;

// One pass of the main loop as the core sees it, the screens between levels
// passing at once.
void core_pass(Player &p) {
    fruit_eaten += events.fruit_eaten;
    levels_started += events.level_start;
    clear_events();
    step(p.record());
}

std::vector<unsigned char> image() {
    std::vector<unsigned char> bytes(SAVE_FILE_SIZE + 4);
    encode_save(records_now(), bytes.data());
    const uint32_t state = game_random_state();
    for (int i = 0; i < 4; i++)
        bytes[SAVE_FILE_SIZE + i] = static_cast<unsigned char>(state >> (8 * i));
    return bytes;
}

std::vector<unsigned char> play(uint32_t seed, int passes, int save_at) {
    reset_records();
    reset_tuning();
    next_game_seed = seed;
    game_initdata();
    Player p{seed};
    for (int pass = 0; pass < passes; pass++) {
        if (pass == save_at) {
            unsigned char bytes[SAVE_FILE_SIZE];
            encode_save(records_now(), bytes);
            const uint32_t state = game_random_state();
            reset_records();
            seed_game_random(12345);
            SavedGame loaded;
            decode_save(bytes, loaded);
            restore_records(loaded);
            set_game_random_state(state);
        }
        core_pass(p);
    }
    return image();
}

TEST_F(Core, TheSameSeedAndRecordsGiveTheSameGame) {
    constexpr int PASSES = 20000;
    const std::vector<unsigned char> straight = play(7, PASSES, -1);
    EXPECT_GT(fruit_eaten, 5) << "the game went somewhere";
    EXPECT_GE(levels_started, 3);
    EXPECT_EQ(play(7, PASSES, -1), straight);
    EXPECT_EQ(play(7, PASSES, PASSES / 2), straight) << "saved and loaded half-way";
    EXPECT_NE(play(8, PASSES, -1), straight);
}

} // namespace
