// Fuzz target for replay files. Whatever a file holds, the reader either
// refuses it with a reason or takes a replay whose image it reads back as
// exactly the file, and whose game then plays to its end from a start the
// rules can run on: its figures may stand anywhere a playable save allows,
// and from the first new level on they keep the invariants of a game in play.
#include "game_harness.h"

#include "core/game_state.h"
#include "core/pass.h"
#include "core/replay.h"
#include "core/screens.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    REPLAY replay;
    const std::string wrong = decode_replay(data, size, replay);
    if (!wrong.empty())
        return 0;
    if (encode_replay(replay) != std::vector<unsigned char>(data, data + size))
        fail("a replay was taken from a file that is not its image");
    start_replay(replay);
    const int32_t start_level = unit.level;
    for (uint16_t record : replay.passes) {
        if (!play_pass(unpack_record(record)))
            break;
        if (unit.fruitmax < 1 || unit.fruitmax > FRUIT_TABLE_SIZE)
            fail("fruitmax " + std::to_string(unit.fruitmax));
        const std::string broken = unit.level != start_level ? broken_invariant() : "";
        if (!broken.empty())
            fail("a replayed game broke: " + broken);
    }
    return 0;
}
