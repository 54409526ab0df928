// Replays: the core playing a recorded game as --verify does (no drawing),
// and what recording adds to a live pass of the main loop.
#include "headless_game.h"

#include "core/input_record.h"
#include "core/level_setup.h"
#include "core/random.h"
#include "core/pass.h"
#include "core/replay.h"
#include "shell/files/replay_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// The shipped demo, played again and again: passes per second of the core.
void BM_VerifyPass(benchmark::State &state) {
    REPLAY demo;
    if (!read_replay(TARVELLION_DATA_DIR "/demo.replay", demo).empty()) {
        state.SkipWithError("no demo.replay");
        return;
    }
    std::size_t pass = demo.passes.size();
    for (auto _ : state) {
        if (pass == demo.passes.size()) {
            state.PauseTiming();
            start_replay(demo);
            pass = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(play_pass(unpack_record(demo.passes[pass++])));
    }
    state.SetItemsProcessed(state.iterations());
}

// One pass's share of recording: its record kept, a hash every 256 passes.
void BM_RecordPass(benchmark::State &state) {
    use_headless_screen(640, 480, 32);
    next_game_seed = 1;
    game_initdata();
    std::vector<uint16_t> passes;
    for (auto _ : state) {
        passes.push_back(pack_record(input));
        if (passes.size() % REPLAY_CHECKPOINT_EVERY == 0)
            benchmark::DoNotOptimize(state_hash());
        if (passes.size() > 1000000)
            passes.clear();
    }
}

} // namespace

BENCHMARK(BM_VerifyPass)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RecordPass)->Unit(benchmark::kNanosecond);
