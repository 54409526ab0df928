// What a frame costs without a display: composing it (put_bmp) and presenting
// it (show_to_screen) into memory bitmaps, and presenting a composed frame at
// scales 1 to 4, each beside a plain memcpy of the same number of bytes as it
// writes to the screen, which is as fast as the machine moves a frame.
#include "headless_game.h"
#include "memcpy_ratio.h"

#include "ui/frame.h"
#include "ui/present.h"

#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void BM_ComposeAndPresent(benchmark::State &state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int depth = static_cast<int>(state.range(2));
    use_headless_screen(width, height, depth);
    place_game(static_cast<int>(state.range(3)));
    for (auto _ : state) {
        put_bmp();
        show_to_screen();
    }
    benchmark::DoNotOptimize(screen->line[0][0]);
    const int64_t bytes = int64_t{width} * height * ((depth + 7) / 8);
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters[FRAME_BYTES_COUNTER] = static_cast<double>(bytes);
}

// The 640 x 480 field's frame presented on a screen of k times its size.
void BM_ScaledPresent(benchmark::State &state) {
    const int k = static_cast<int>(state.range(0));
    const int depth = static_cast<int>(state.range(1));
    use_scaled_screen(640, 480, depth, k);
    place_game(12);
    put_bmp();
    for (auto _ : state)
        present_frame(buffer);
    benchmark::DoNotOptimize(screen->line[0][0]);
    const int64_t bytes = int64_t{640} * k * 480 * k * ((depth + 7) / 8);
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters[FRAME_BYTES_COUNTER] = static_cast<double>(bytes);
}

void BM_Memcpy(benchmark::State &state) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    std::vector<unsigned char> from(bytes, 1), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
    state.counters[FRAME_BYTES_COUNTER] = static_cast<double>(bytes);
}

// The memcpy runs first, so every composition result can be set beside the
// copy of its frame size measured in the same run.
BENCHMARK(BM_Memcpy)
    ->ArgName("bytes")
    ->Arg(640 * 480)
    ->Arg(640 * 480 * 4)
    ->Arg(1920 * 1080)
    ->Arg(1920 * 1080 * 4)
    ->Arg(640 * 2 * 480 * 2 * 4)
    ->Arg(640 * 3 * 480 * 3 * 4)
    ->Arg(640 * 4 * 480 * 4 * 4)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_ComposeAndPresent)
    ->ArgNames({"w", "h", "bpp", "fruit"})
    ->ArgsProduct({{640}, {480}, {32, 8}, {12, 100}})
    ->ArgsProduct({{1920}, {1080}, {32, 8}, {12, 100}})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_ScaledPresent)
    ->ArgNames({"k", "bpp"})
    ->ArgsProduct({{1, 2, 3, 4}, {32}})
    ->Unit(benchmark::kMicrosecond);

} // namespace
