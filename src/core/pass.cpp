// The pass: the rules' stage, the screens' order and the input stage; called
// by every way of playing (pass.h).
#include "pass.h"

#include "collisions.h"
#include "events.h"
#include "game_state.h"
#include "player_control.h"
#include "screens.h"
#include "trains.h"

#include <cstdint>

namespace {

// Collisions, the shots and trains, the level's outcome; false when a screen
// between levels began.
bool run_rules() {
    eat_apple();
    hit_fire();
    move_fire();
    move_train();
    iswin();
    return between_levels == BETWEEN_NONE;
}

// Counts the pass: unit.timer paces the animation. Wraps rather than
// overflows on a timer a save brought to its limit.
void finish_rules_stage() {
    unit.timer = static_cast<int32_t>(static_cast<uint32_t>(unit.timer) + 1u);
}

} // namespace

PassResult step(const INPUT_RECORD &record, void (*compose)()) {
    if (between_levels != BETWEEN_NONE) {
        // The screen shown is over; the pass it stopped goes on after the last.
        screen_done();
        if (between_levels != BETWEEN_NONE)
            return PASS_SCREEN;
        finish_rules_stage();
    } else if (unit.pause == 0) {
        if (!run_rules())
            return PASS_SCREEN;
        finish_rules_stage();
    }
    if (compose)
        compose();
    take_input(record);
    return PASS_DONE;
}

bool play_pass(const INPUT_RECORD &record) {
    clear_events();
    while (step(record) == PASS_SCREEN)
        if (between_levels == SCREEN_HIGH_SCORE)
            return false;
    return true;
}

void take_input(const INPUT_RECORD &record) {
    input = record;
    do_key_work();
}
