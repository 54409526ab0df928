// One pass of the game as the rules see it: the rules' stage unless the game
// is paused, the screens between levels it brings, and the input stage on the
// pass's input record. Every way of playing goes through step(): the game in
// its window (shell/flow/main_loop.cpp), --replay and --verify, the attract
// demo, the autopilot and the tests; the shell only gathers the record,
// draws and waits.
//
// Every collision and line-up test sees the player where the previous pass
// left it: the player moves last, in the input stage.
#pragma once

#include "input_record.h"

enum PassResult {
    PASS_DONE,   // the pass is over
    PASS_SCREEN, // it stopped at a screen between levels (between_levels)
};

// Runs the pass on the record. When the rules bring a screen between levels,
// the pass stops there; the caller shows the screen for as long as it lasts
// and calls step() again, with the record as it stands then: that call ends
// the screen and goes on with the next one, or with the rest of the pass.
// `compose`, when given, runs between the rules and the input stage (the
// frame shows the field before the player moves). Adds to `events`.
PassResult step(const INPUT_RECORD &record, void (*compose)() = nullptr);

// A whole pass with the screens passing at once, as a replay plays it.
// Returns false when the game is over (its high-score screen comes up): a
// game's replay ends there. Clears `events` first.
bool play_pass(const INPUT_RECORD &record);

// The input stage alone: the keyboard commands, the menu's buttons and the
// player's movement, on the record. step() ends with it. Start's new game
// begins between the commands and the buttons, its start kept for the
// recorder (replay.h), as is the start of the game after a game over.
void take_input(const INPUT_RECORD &record);
