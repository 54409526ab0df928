// The rules' stage of a pass of the main loop, run while the game is not
// paused: collisions, the shots and trains, the level's outcome, then the
// pass is counted. A level cleared or a game lost stops the stage at its
// screens (screens.h); once they are over, finish_rules_stage() counts the
// pass they interrupted.
#pragma once

// The rules of one pass; returns false when a screen between levels began.
bool run_rules();

// Counts the pass: unit.timer paces the animation.
void finish_rules_stage();
