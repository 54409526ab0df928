// What the rest of a pass costs without a display: one pass of the rules on
// a full field, and one whole pass of the main loop without its wait.
#include "headless_game.h"

#include "core/collisions.h"
#include "core/screens.h"
#include "core/trains.h"
#include "core/game_state.h"
#include "shell/flow/main_loop.h"

#include <benchmark/benchmark.h>

namespace {

// The shots are set in flight again before every pass, so each pass moves
// four of them; the copy it takes is part of the time.
void BM_RulesPass(benchmark::State &state) {
    use_headless_screen(640, 480, 32);
    place_game(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        relaunch_shots();
        eat_apple();
        hit_fire();
        move_fire();
        move_train();
        iswin();
        benchmark::ClobberMemory();
    }
    if (unit.apples != 0 || player.live != INT32_MAX / 2)
        state.SkipWithError("the player ate or was hit: a level screen may have run");
}

// Shots come and go as in play; the player stands still and has lives enough
// that no game-over screen ever runs.
void BM_MainLoopPass(benchmark::State &state) {
    use_headless_screen(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 32);
    place_game(static_cast<int>(state.range(2)));
    for (auto _ : state)
        run_pass();
    if (unit.apples != 0 || unit.level != 1)
        state.SkipWithError("a level ended: a level screen ran");
}

BENCHMARK(BM_RulesPass)->ArgName("fruit")->Arg(100)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_MainLoopPass)
    ->ArgNames({"w", "h", "fruit"})
    ->Args({640, 480, 12})
    ->Args({640, 480, 100})
    ->Args({1920, 1080, 12})
    ->Unit(benchmark::kMicrosecond);

} // namespace
