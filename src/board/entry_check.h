// The checks of a game sent to the board: the replay decoded, its start made
// again from its seed, its passes played again by the core, and what makes it
// eligible. No network and no storage: the server (board_main.cpp) calls it
// with the body it was sent, and so do the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The largest body a game may be: an hour of play is well under 100 KB.
constexpr std::size_t MAX_ENTRY_BYTES = 256 * 1024;

struct ENTRY_VERDICT {
    int status;         // 201 when it may enter, else the HTTP status refusing it
    std::string reason; // why not, in words
    int32_t score;      // as the server's own play ended it
    int32_t level;
    uint32_t passes;
    uint32_t seed;
    uint32_t day; // the daily challenge's day it is an entry of, else 0
};

// Checks a replay sent for the all-time board (no daily_days) or for the
// daily challenge of one of the days given as yyyymmdd. Uses the core's one
// game: the caller runs one check at a time.
ENTRY_VERDICT check_entry(const unsigned char *bytes, std::size_t size,
                          const std::vector<uint32_t> &daily_days);
