// Reading the world board's answers (world_board.cpp): its listings, the
// answer to a game sent and the reason of a refusal, all JSON. A board may
// be anybody's, so the text is read with care: bounded, nesting limited,
// names made printable and cut to the board's length.
#pragma once

#include "../../ui/world_page.h"

#include <cstdint>
#include <string>
#include <vector>

// {"entries": [{"place", "name", "score", "level", "date", "id"}, ...]};
// false when the text is not such a listing.
bool read_board_listing(const std::string &json, std::vector<WORLD_ENTRY> &entries);

struct GAME_TAKEN {
    int64_t id;
    int place;
    int32_t score;
    int32_t level;
};

// {"id", "place", "score", "level", "board"}; false when it is not one.
bool read_game_taken(const std::string &json, GAME_TAKEN &taken);

// {"error": "..."}: the reason, printable; "" when there is none.
std::string read_refusal(const std::string &json);
