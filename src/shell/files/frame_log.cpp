// The pass timing log behind TARVELLION_FRAME_LOG. Room for the stamps is
// taken once, when the log opens, so a logged pass allocates nothing; the
// file is written by an exit handler, after the game has shut down.
#include "frame_log.h"

#include "../../platform/platform.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Over an hour of passes at the default delay; later ones go unrecorded.
constexpr std::size_t MAX_STAMPS = 1 << 18;

const char *log_path = nullptr;
std::vector<int64_t> stamps; // microseconds: begin, end, begin, end, ...
int64_t top_realtime = 0;
int64_t top_monotonic = 0;

// The first line ties the monotonic stamps to the wall clock, so a script
// that noted the wall-clock time of the launch can tell the start-up time.
void write_log() {
    FILE *file = std::fopen(log_path, "w");
    if (!file)
        return;
    std::fprintf(file, "top %lld %lld\n", static_cast<long long>(top_realtime),
                 static_cast<long long>(top_monotonic));
    for (std::size_t i = 0; i + 1 < stamps.size(); i += 2)
        std::fprintf(file, "pass %lld %lld\n", static_cast<long long>(stamps[i]),
                     static_cast<long long>(stamps[i + 1]));
    std::fclose(file);
}

} // namespace

void frame_log_open() {
    log_path = std::getenv("TARVELLION_FRAME_LOG");
    if (!log_path || !*log_path) {
        log_path = nullptr;
        return;
    }
    top_realtime = wall_clock_us();
    top_monotonic = monotonic_us();
    stamps.reserve(MAX_STAMPS);
    std::atexit(write_log);
}

void frame_log_stamp() {
    if (log_path && stamps.size() < MAX_STAMPS)
        stamps.push_back(monotonic_us());
}
