// One pass of the main loop, in its fixed order of stages. main() runs it
// until unit.end is set; tests and tools drive it directly. Nothing in a pass
// blocks: the screens between levels, the rest after the speed, lives and
// pause keys, and the high-score screen are states the loop passes through,
// one step a pass, so every pass draws and returns.
#pragma once

// Presents the last frame, animates, runs the rules unless paused, composes
// the next frame and handles the input - or one step of the state the game
// is in. Returns how long to wait before the next pass, in milliseconds:
// DELAY in play.
double run_pass();

// Whether the game is in play: no screen between levels, no rest of the
// keys and no Options screen is under way. An ending waits for this, so the
// save holds what the screens set up.
bool in_play();

// The input stage alone, on the record gather_input() left: the menu's
// buttons, Continue's load, the core's input stage (core/pass.h), the sound
// switch and the events. Returns the pass's wait: DELAY, or the first step
// of the keys' rest. The tests of the controls drive it; run_pass() runs it
// as the end of the core's whole pass.
double input_stage();

// Leaves whatever screen or rest the loop was in, for a game put back as it
// was before them (the attract mode's end).
void return_to_play();

// Plays the sounds for the rules' events, and at a level's start shows the
// next background and saves the game.
void act_on_events();
