// The pass: the rules' stage, the screens' order and the input stage; called
// by every way of playing (pass.h).
#include "pass.h"

#include "collisions.h"
#include "events.h"
#include "game_state.h"
#include "level_setup.h"
#include "player_control.h"
#include "replay.h"
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

} // namespace

PassResult step(const INPUT_RECORD &record, void (*compose)()) {
    if (between_levels != BETWEEN_NONE) {
        // The screen shown is over; the pass it stopped goes on after the last.
        const bool game_over_ends = between_levels == SCREEN_HIGH_SCORE;
        screen_done();
        if (game_over_ends)
            keep_new_game_start(BEGAN_AFTER_GAME_OVER);
        if (between_levels != BETWEEN_NONE)
            return PASS_SCREEN;
        count_pass();
    } else if (unit.pause == 0) {
        if (!run_rules())
            return PASS_SCREEN;
        count_pass();
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
    take_commands();
    if (input.start) {
        game_initdata();
        keep_new_game_start(BEGAN_BY_START);
    }
    take_buttons_and_move();
}
