// Collisions and scoring: the rules stage calls
// eat_apple() and hit_fire() before the shots and trains move; the level's
// outcome (screens.h) comes after them.
#pragma once

#include "game_state.h"

// Two centres touch when the integer part of their distance is below 20.
bool touches(const POS &a, const POS &b);

// Collects every fruit the player touches.
void eat_apple();

// Takes a life for every shot that touches the player.
void hit_fire();
