// The autopilot: a simple player that plays through the core alone - it
// heads for the nearest fruit and steps out of a shot's way - used to record
// the demo shipped in data/ and the golden replays of the tests, and to soak
// the rules through thousands of games.
//
// Usage:
//   autopilot record OUT.replay SCENARIO   records one of the scenarios below
//   autopilot soak GAMES [SEED]            plays that many games, checking the records
#include "autopilot_player.h"
#include "core/game_state.h"
#include "core/level_setup.h"
#include "core/player_control.h"
#include "core/random.h"
#include "core/pass.h"
#include "core/replay.h"
#include "core/save_codec.h"
#include "core/screens.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A scenario: how its game starts, and the keys pressed over the autopilot's
// steering at given passes.
struct Key {
    int pass;
    bool INPUT_RECORD::*action;
};

struct Scenario {
    const char *name;
    uint32_t seed;
    int passes;
    void (*arrange)(); // after the new game begins
    bool continued;
    Key keys[8];
};

void leave_one_fruit() {
    for (int i = 1; i < unit.fruitmax; i++)
        fruit[i].live = 0;
}

const Scenario SCENARIOS[] = {
    {"demo", 2026, 2400, nullptr, false, {}},
    {"extra-life",
     11,
     300,
     [] {
         leave_one_fruit();
         unit.score = 7990;
     },
     false,
     {}},
    {"game-over", 12, 200, [] { player.live = 1; }, false, {{20, &INPUT_RECORD::fewer_lives}}},
    {"tenth-level",
     13,
     200,
     [] {
         unit.level = 10;
         leave_one_fruit();
     },
     false,
     {}},
    {"keys",
     14,
     400,
     nullptr,
     false,
     {{40, &INPUT_RECORD::pause},
      {90, &INPUT_RECORD::pause},
      {120, &INPUT_RECORD::faster},
      {160, &INPUT_RECORD::slower},
      {200, &INPUT_RECORD::more_lives},
      {240, &INPUT_RECORD::fewer_lives},
      {280, &INPUT_RECORD::menu},
      {300, &INPUT_RECORD::resume}}},
    {"continued",
     15,
     400,
     [] {
         unit.level = 3;
         unit.score = 2000;
         unit.apples = 30;
         player.pos = {100, 100};
     },
     true,
     {}},
};

int record(const char *out, const char *name) {
    const Scenario *s = nullptr;
    for (const Scenario &candidate : SCENARIOS)
        if (std::strcmp(candidate.name, name) == 0)
            s = &candidate;
    if (!s) {
        std::fprintf(stderr, "autopilot: no scenario %s\n", name);
        return 2;
    }
    reset_records();
    reset_tuning();
    next_game_seed = s->seed;
    game_initdata();
    if (s->arrange)
        s->arrange();
    REPLAY replay = replay_of_now(s->continued);
    std::snprintf(replay.version, sizeof replay.version, "%s", TARVELLION_VERSION);
    for (int pass = 0; pass < s->passes; pass++) {
        INPUT_RECORD in = autopilot_record();
        for (const Key &k : s->keys)
            if (k.action && k.pass == pass)
                in.*k.action = true;
        const bool on = play_pass(in);
        add_pass(replay, in);
        if (!on)
            break;
    }
    close_replay(replay);
    const std::vector<unsigned char> bytes = encode_replay(replay);
    FILE *file = std::fopen(out, "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
        std::fprintf(stderr, "autopilot: can't write %s\n", out);
        return 1;
    }
    std::printf("%s: %zu passes, level %d, score %d\n", out, replay.passes.size(), unit.level,
                unit.score);
    return 0;
}

// What must hold after every pass of a game in play.
const char *broken_record() {
    if (unit.fruitmax < 1 || unit.fruitmax > FRUIT_TABLE_SIZE)
        return "fruit count out of the table";
    if (player.pos.x < 0 || player.pos.x > unit.width || player.pos.y < 0 ||
        player.pos.y > unit.height)
        return "the player left the field";
    if (player.speed2 < 0 || player.speed2 > player.speedmax)
        return "the player's speed out of its range";
    if (unit.score < 0 || unit.level < 1)
        return "score or level out of range";
    if (between_levels == BETWEEN_NONE && player.live < 1 && unit.pause == 0)
        return "a game with no lives left went on";
    return nullptr;
}

int soak(long games, uint32_t seed) {
    reset_records();
    reset_tuning();
    next_game_seed = seed;
    long passes = 0, levels = 0, best = 0;
    for (long g = 0; g < games; g++) {
        game_initdata();
        const int32_t first_score = unit.score;
        for (;;) {
            const int32_t level = unit.level;
            const bool on = play_pass(autopilot_record());
            passes++;
            if (const char *broken = broken_record()) {
                std::fprintf(stderr, "autopilot soak: game %ld pass %ld: %s\n", g, passes, broken);
                return 1;
            }
            levels += unit.level > level;
            if (unit.score < first_score) {
                std::fprintf(stderr, "autopilot soak: game %ld: the score fell\n", g);
                return 1;
            }
            if (!on)
                break;
        }
        best = std::max<long>(best, unit.score);
        // The high-score screen ends each game; the next one begins there.
        screen_done();
    }
    std::printf("autopilot soak: %ld games, %ld passes, %ld levels cleared, best score %ld\n",
                games, passes, levels, best);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 4 && std::strcmp(argv[1], "record") == 0)
        return record(argv[2], argv[3]);
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "soak") == 0)
        return soak(std::atol(argv[2]), argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 1);
    std::fprintf(stderr, "usage: autopilot record OUT.replay SCENARIO | autopilot soak GAMES "
                         "[SEED]\n");
    return 2;
}
