// The rules' stage, called by the main loop (shell/main_loop.cpp) and by a
// replay's passes (replay.cpp).
#include "rules_stage.h"

#include "collisions.h"
#include "game_state.h"
#include "screens.h"
#include "trains.h"

#include <cstdint>

bool run_rules() {
    eat_apple();
    hit_fire();
    move_fire();
    move_train();
    iswin();
    if (between_levels != BETWEEN_NONE)
        return false;
    finish_rules_stage();
    return true;
}

void finish_rules_stage() {
    // Wraps rather than overflows on a timer a save brought to its limit.
    unit.timer = static_cast<int32_t>(static_cast<uint32_t>(unit.timer) + 1u);
}
