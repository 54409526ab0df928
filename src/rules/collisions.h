// Collisions, scoring and the outcome of each pass: the main loop calls
// eat_apple() and hit_fire() before the shots and trains move, iswin() after.
#pragma once

#include "../shell/game_state.h"

// Two centres touch when the integer part of their distance is below 20.
bool touches(const POS &a, const POS &b);

// Collects every fruit the player touches.
void eat_apple();

// Takes a life for every shot that touches the player.
void hit_fire();

// Level cleared, game over, extra life - in that order.
void iswin();
